#include <cmath>
#include <numbers>

#include "host/ads.h"

int ads_polar(const ads_point point, ads_real angle, ads_real distance, ads_point result) {
  // Read all of `point` first: callers may pass the same array as `result`.
  const double x = point[X], y = point[Y], z = point[Z];
  result[X] = x + distance * std::cos(angle);
  result[Y] = y + distance * std::sin(angle);
  result[Z] = z;
  return RTNORM;
}

ads_real ads_angle(const ads_point from, const ads_point to) {
  double angle = std::atan2(to[Y] - from[Y], to[X] - from[X]);
  if (angle < 0.0) angle += 2.0 * std::numbers::pi;
  // atan2 of a tiny negative y gives -0 + 2*pi rounding to exactly 2*pi.
  if (angle >= 2.0 * std::numbers::pi) angle = 0.0;
  return angle;
}
