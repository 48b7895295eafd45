#include "plot/arc_geometry.h"

#include <cmath>

namespace plot {

double reducedRadians(double radians) {
  if (!std::isfinite(radians)) return std::nan("");
  double reduced = std::fmod(radians, kFullTurn);
  if (reduced < 0) reduced += kFullTurn;
  // A tiny negative remainder plus a turn rounds up to the turn itself.
  return reduced < kFullTurn ? reduced : 0.0;
}

bool isFinite(const Line& line) {
  return std::isfinite(line.from.x) && std::isfinite(line.from.y) && std::isfinite(line.to.x) &&
         std::isfinite(line.to.y);
}

bool isFinite(const Arc& arc) {
  return std::isfinite(arc.centre.x) && std::isfinite(arc.centre.y) && std::isfinite(arc.radius) &&
         std::isfinite(arc.startRadians) && std::isfinite(arc.endRadians);
}

double arcSweep(const Arc& arc) {
  // Both ends reduced first: the difference of two huge angles would have
  // lost the sweep to rounding.
  double sweep = reducedRadians(arc.endRadians) - reducedRadians(arc.startRadians);
  if (sweep < 0) sweep += kFullTurn;
  return sweep < kFullTurn ? sweep : 0.0;
}

Point arcPoint(const Arc& arc, double radians) {
  return Point{arc.centre.x + arc.radius * std::cos(radians),
               arc.centre.y + arc.radius * std::sin(radians)};
}

}  // namespace plot
