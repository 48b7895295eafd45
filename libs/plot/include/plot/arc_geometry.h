#pragma once

#include "plot/scene.h"

namespace plot {

// The counter-clockwise sweep of `arc` in radians, in [0, 2 pi).
double arcSweep(const Arc& arc);

// The point of `arc`'s circle at `radians`.
Point arcPoint(const Arc& arc, double radians);

// Calls `visit` with the points that bound `arc`: its two ends and every
// quarter direction (0, 90, 180, 270 degrees) that its sweep passes.
template <typename Visit>
void forEachArcBoundPoint(const Arc& arc, Visit visit) {
  constexpr double kQuarter = 1.5707963267948966;
  const double sweep = arcSweep(arc);
  visit(arcPoint(arc, arc.startRadians));
  visit(arcPoint(arc, arc.startRadians + sweep));
  for (int k = -8; k <= 8; ++k) {
    const double direction = k * kQuarter;
    double along = direction - arc.startRadians;
    while (along < 0) along += 4 * kQuarter;
    while (along >= 4 * kQuarter) along -= 4 * kQuarter;
    if (along <= sweep) visit(arcPoint(arc, direction));
  }
}

}  // namespace plot
