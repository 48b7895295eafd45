#pragma once

#include <cstdint>
#include <string>

#include "axis/axis_set.h"

namespace tavrin {

// The drawing unit proposed for an export, from the unit the drawing declares
// ($INSUNITS code) checked against the size of the selected axes.
struct UnitProposal {
  // Power of ten of the metre: 0 metre, 1 decimetre, 2 centimetre,
  // 3 millimetre.
  std::int32_t unitExponent = 3;
  // True when the proposal is the drawing's own declared unit, in which its
  // axes have a building's size.
  bool declared = false;
  // One line for the user (code page 936, no line end) when the proposal is
  // not the declared unit or the axes' size is implausible in it; empty
  // otherwise.
  std::string note;

  // Point tolerance of the cleanup, 0.3 millimetres in this unit: exactly
  // 0.3 for millimetres.
  double pointTolerance() const;
};

// A declared millimetre, centimetre, decimetre or metre (codes 4, 5, 14, 6)
// is proposed when the larger side of the axes' extent, `span` drawing units,
// is 1 m to 2 km in it; otherwise millimetres. Inches and feet are never
// proposed; their note says which scale gives millimetres.
UnitProposal proposeUnit(int declaredUnits, double span);

// The larger side of the extent of all points of `axes` (x and y), in drawing
// units; 0 without axes.
double axesSpan(const AxisSet& axes);

// The declared unit the host reports for the current drawing ("INSUNITS");
// 0 (none) when it reports none.
int declaredDrawingUnits();

}  // namespace tavrin
