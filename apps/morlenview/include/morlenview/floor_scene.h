#pragma once

#include <vector>

#include "morlenview/floor_alignment.h"
#include "morlenview/floor_summary.h"
#include "morlenview/morlen_project.h"
#include "plot/scene.h"

// The pictures of a project: one per floor and one of all floors over each
// other, in Morlen metres, with the origin (0, 0) and the project's
// reference point marked.
namespace morlenview {

// A floor that was read, with its summary.
struct ShownFloor {
  const ProjectFloor* floor = nullptr;
  FloorSummary summary;
};

// The colour of the k-th floor of an overlay; a few distinct ones, repeated.
plot::Colour floorColour(std::size_t k);

plot::Scene floorScene(const MorlenProject& project, const ShownFloor& floor);

// Every floor in its own colour; the near misses of `alignment` (indices
// into `floors`) ringed.
plot::Scene overlayScene(const MorlenProject& project, const std::vector<ShownFloor>& floors,
                         const AlignmentResult& alignment);

}  // namespace morlenview
