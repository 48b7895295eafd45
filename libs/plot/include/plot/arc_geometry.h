#pragma once

#include "plot/scene.h"

namespace plot {

// One full turn, 2 pi radians.
inline constexpr double kFullTurn = 6.283185307179586;

// `radians` as the same direction in [0, 2 pi): reduced once, by an exact
// remainder, so an angle of any size takes the same few operations. NaN for
// an angle that is not finite.
double reducedRadians(double radians);

// True when the line's or the arc's numbers are all finite: what is drawn
// and what bounds a picture. Others are left out.
bool isFinite(const Line& line);
bool isFinite(const Arc& arc);

// The counter-clockwise sweep of `arc` in radians, in [0, 2 pi).
double arcSweep(const Arc& arc);

// The point of `arc`'s circle at `radians`.
Point arcPoint(const Arc& arc, double radians);

// Calls `visit` with the points that bound `arc`: its two ends and every
// quarter direction (0, 90, 180, 270 degrees) that its sweep passes. An arc
// that is not finite visits nothing.
template <typename Visit>
void forEachArcBoundPoint(const Arc& arc, Visit visit) {
  if (!isFinite(arc)) return;
  constexpr double kQuarter = kFullTurn / 4;
  const double start = reducedRadians(arc.startRadians);
  const double sweep = arcSweep(arc);
  visit(arcPoint(arc, start));
  visit(arcPoint(arc, start + sweep));
  for (int k = 0; k < 4; ++k) {
    double along = k * kQuarter - start;
    if (along < 0) along += kFullTurn;
    if (along <= sweep) visit(arcPoint(arc, k * kQuarter));
  }
}

}  // namespace plot
