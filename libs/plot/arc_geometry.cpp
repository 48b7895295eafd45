#include "plot/arc_geometry.h"

#include <cmath>

namespace plot {

double arcSweep(const Arc& arc) {
  constexpr double kTurn = 6.283185307179586;
  double sweep = std::fmod(arc.endRadians - arc.startRadians, kTurn);
  if (sweep < 0) sweep += kTurn;
  return sweep;
}

Point arcPoint(const Arc& arc, double radians) {
  return Point{arc.centre.x + arc.radius * std::cos(radians),
               arc.centre.y + arc.radius * std::sin(radians)};
}

}  // namespace plot
