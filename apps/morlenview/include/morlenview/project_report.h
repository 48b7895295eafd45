#pragma once

#include <iosfwd>
#include <vector>

#include "morlenview/floor_alignment.h"
#include "morlenview/morlen_project.h"

// What morlenview says about a project, as text lines ending in "\n": the
// project's parameters, each floor's counts and extent, and whether the
// floors line up.
namespace morlenview {

void printProject(std::ostream& out, const MorlenProject& project);
void printFloor(std::ostream& out, const ProjectFloor& floor);
// `shown`: the floors read, in the order `alignment` was checked in.
void printAlignment(std::ostream& out, const std::vector<ProjectFloor*>& shown,
                    const AlignmentResult& alignment);

}  // namespace morlenview
