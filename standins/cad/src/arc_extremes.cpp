#include "arc_extremes.h"

#include <cmath>
#include <numbers>

namespace cad {

AcGePoint3d pointAt(const AcGePoint3d& centre, double radius, double angle) {
  return AcGePoint3d(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle), 0);
}

std::vector<AcGePoint3d> arcExtremes(const AcDbArc& arc) {
  constexpr double kTurn = 2 * std::numbers::pi;
  std::vector<AcGePoint3d> points = {pointAt(arc.center(), arc.radius(), arc.startAngle()),
                                     pointAt(arc.center(), arc.radius(), arc.endAngle())};
  double start = std::fmod(arc.startAngle(), kTurn);
  if (start < 0) start += kTurn;
  double sweep = std::fmod(arc.endAngle(), kTurn);
  if (sweep < 0) sweep += kTurn;
  sweep -= start;
  if (sweep <= 0) sweep += kTurn;
  for (int quarter = 0; quarter < 4; ++quarter) {
    double angle = quarter * (std::numbers::pi / 2);
    double offset = std::fmod(angle - start + 2 * kTurn, kTurn);
    if (offset <= sweep) points.push_back(pointAt(arc.center(), arc.radius(), angle));
  }
  return points;
}

}  // namespace cad
