#pragma once

#include <cstdint>

#include "axis/axis_set.h"
#include "formats/project_parameters.h"

namespace tavrin {

class ExportDialog;

// The coordinate system of one export. The project's part is what its
// parameter file holds: origin and reference point, in the drawing units of
// the drawing that set them at that drawing's scale, and that unit and scale.
// This drawing's part is the picked base point (drawing units) and the unit
// and scale the user confirms. Units are powers of ten of the metre
// (0 metre, 1 decimetre, 2 centimetre, 3 millimetre); scales are the XXX of
// XXX:1.
struct CoordinateFrame {
  double originX = 0.0;
  double originY = 0.0;
  double referenceX = 0.0;
  double referenceY = 0.0;
  std::int32_t projectUnit = 3;
  double projectScale = 1.0;

  double baseX = 0.0;
  double baseY = 0.0;
  std::int32_t unit = 3;
  double scale = 1.0;

  bool operator==(const CoordinateFrame&) const = default;
};

// Parameter file -> frame: the project's values; this drawing starts in the
// project's unit and scale, at the base point (baseX, baseY).
CoordinateFrame frameOfProject(const ProjectParameters& parameters, double baseX, double baseY);
// Frame -> parameter file: the project's values.
ProjectParameters projectParametersOf(const CoordinateFrame& frame);

// Frame -> dialog: origin and reference point, and this drawing's unit and
// scale as the unit list's index and the scale.
void showInDialog(const CoordinateFrame& frame, ExportDialog& dialog);
// Dialog -> frame, after OK: the unit and scale the user confirmed, and the
// origin as the dialog shows it. The reference point is not editable there
// and stays the frame's.
void takeFromDialog(const ExportDialog& dialog, CoordinateFrame& frame);

// Frame -> the axis set's conversion fields (the project's unit and scale as
// intrinsicUnitExponent and IntrinsicScale, this drawing's as unitExponent
// and iScale).
void applyToAxes(const CoordinateFrame& frame, AxisSet& axes);

// Ties the project to this drawing: the origin proposed from the axes (the
// base point when there are none), the base point as reference point, and
// this drawing's unit and scale as the project's. False, changing nothing,
// when a value is not finite: such a value must never reach a file.
bool rebaseOnDrawing(CoordinateFrame& frame, const AxisSet& axes);

}  // namespace tavrin
