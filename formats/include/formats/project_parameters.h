#pragma once

#include <cstdint>

namespace tavrin {

// The coordinate parameters of a project, as its parameter file holds them.
// Lengths are in the drawing units of the drawing that set them.
struct ProjectParameters {
  // The project's coordinate origin.
  double originX = 0.0;
  double originY = 0.0;
  // The project's reference point: the base point picked in that drawing.
  double referenceX = 0.0;
  double referenceY = 0.0;
  // The drawing unit as a power of ten of the metre: 0 metre, 1 decimetre,
  // 2 centimetre, 3 millimetre.
  std::int32_t unitIndex = 0;
  // The drawing scale, the XXX of XXX:1.
  double scale = 0.0;

  bool operator==(const ProjectParameters&) const = default;
};

}  // namespace tavrin
