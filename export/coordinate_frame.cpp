#include "export/coordinate_frame.h"

#include <cmath>

#include "export/axis_file.h"
#include "export/export_dialog.h"

namespace tavrin {

CoordinateFrame frameOfProject(const ProjectParameters& parameters, double baseX, double baseY) {
  CoordinateFrame frame;
  frame.originX = parameters.originX;
  frame.originY = parameters.originY;
  frame.referenceX = parameters.referenceX;
  frame.referenceY = parameters.referenceY;
  frame.projectUnit = frame.unit = parameters.unitIndex;
  frame.projectScale = frame.scale = parameters.scale;
  frame.baseX = baseX;
  frame.baseY = baseY;
  return frame;
}

ProjectParameters projectParametersOf(const CoordinateFrame& frame) {
  return ProjectParameters{frame.originX,    frame.originY,     frame.referenceX,
                           frame.referenceY, frame.projectUnit, frame.projectScale};
}

void showInDialog(const CoordinateFrame& frame, ExportDialog& dialog) {
  dialog.originX = frame.originX;
  dialog.originY = frame.originY;
  dialog.referenceX = frame.referenceX;
  dialog.referenceY = frame.referenceY;
  dialog.unitIndex = frame.unit;
  dialog.scale = frame.scale;
}

void takeFromDialog(const ExportDialog& dialog, CoordinateFrame& frame) {
  frame.originX = dialog.originX;
  frame.originY = dialog.originY;
  frame.unit = dialog.unitIndex;
  frame.scale = dialog.scale;
}

void applyToAxes(const CoordinateFrame& frame, AxisSet& axes) {
  axes.originX = frame.originX;
  axes.originY = frame.originY;
  axes.baseX = frame.baseX;
  axes.baseY = frame.baseY;
  axes.unitExponent = frame.unit;
  axes.iScale = frame.scale;
  axes.referenceX = frame.referenceX;
  axes.referenceY = frame.referenceY;
  axes.IntrinsicScale = frame.projectScale;
  axes.intrinsicUnitExponent = frame.projectUnit;
}

bool rebaseOnDrawing(CoordinateFrame& frame, const AxisSet& axes) {
  double x = frame.baseX;
  double y = frame.baseY;
  defaultOrigin(axes, x, y);
  for (double value : {x, y, frame.baseX, frame.baseY})
    if (!std::isfinite(value)) return false;
  frame.originX = x;
  frame.originY = y;
  frame.referenceX = frame.baseX;
  frame.referenceY = frame.baseY;
  frame.projectUnit = frame.unit;
  frame.projectScale = frame.scale;
  return true;
}

}  // namespace tavrin
