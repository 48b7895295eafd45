#include <cmath>

#include "host/ac_ge_point.h"

double AcGePoint2d::distanceTo(const AcGePoint2d& other) const {
  return std::hypot(other.x - x, other.y - y);
}

double AcGePoint3d::distanceTo(const AcGePoint3d& other) const {
  return std::hypot(other.x - x, other.y - y, other.z - z);
}
