#pragma once

#include <vector>

#include "morlenview/floor_alignment.h"
#include "morlenview/morlen_project.h"
#include "plot/scene.h"

// The pictures of a project: one per floor and one of all floors over each
// other, in Morlen metres, with the origin (0, 0) and the project's
// reference point marked.
//
// A scene takes the line work and the points of its floors instead of a
// copy of them (a floor is drawn twice, on its own and in the overlay, and
// may hold millions of segments): the floors are empty of them until
// returnLineWork() gives them back. Their summaries' counts and extents stay.
namespace morlenview {

// The colour of the k-th floor of an overlay; a few distinct ones, repeated.
plot::Colour floorColour(std::size_t k);

plot::Scene floorScene(const MorlenProject& project, ProjectFloor& floor);

// Every floor in its own colour; the near misses of `alignment` (indices
// into `floors`) ringed: those of the odd floor alone when there is one.
plot::Scene overlayScene(const MorlenProject& project, const std::vector<ProjectFloor*>& floors,
                         const AlignmentResult& alignment);

// Gives the floors of a scene made by floorScene() (one floor) or
// overlayScene() (the same floors, in the same order) their line work back.
void returnLineWork(plot::Scene& scene, const std::vector<ProjectFloor*>& floors);

}  // namespace morlenview
