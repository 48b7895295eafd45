#include "dxf/object_coordinates.h"

#include <algorithm>
#include <cmath>

namespace cad::dxf {
namespace {

Point cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Scales by the largest component first, so that huge components do not
// overflow the squares and tiny ones do not vanish in them.
bool normalise(Point& p) {
  const double largest = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  if (!(largest > 0.0) || !std::isfinite(largest)) return false;
  const Point q{p.x / largest, p.y / largest, p.z / largest};
  const double length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
  p = {q.x / length, q.y / length, q.z / length};
  return true;
}

// A normal whose X and Y parts are below this is taken as parallel to Z.
constexpr double kParallelTolerance = 1e-9;
// The arbitrary-axis rule's threshold.
constexpr double kArbitraryAxisLimit = 1.0 / 64.0;

}  // namespace

bool ObjectCoordinates::make(const Point& normal, ObjectCoordinates& result) {
  Point n = normal;
  if (!normalise(n)) return false;
  result = ObjectCoordinates();
  if (std::fabs(n.x) < kParallelTolerance && std::fabs(n.y) < kParallelTolerance) {
    if (n.z > 0) return true;
    result.kind_ = Kind::kMirrored;
    result.xAxis_ = {-1, 0, 0};
    result.normal_ = {0, 0, -1};
    return true;
  }
  Point ax = (std::fabs(n.x) < kArbitraryAxisLimit && std::fabs(n.y) < kArbitraryAxisLimit)
                 ? cross({0, 1, 0}, n)
                 : cross({0, 0, 1}, n);
  normalise(ax);
  Point ay = cross(n, ax);
  normalise(ay);
  result.kind_ = Kind::kTilted;
  result.xAxis_ = ax;
  result.yAxis_ = ay;
  result.normal_ = n;
  return true;
}

Point ObjectCoordinates::toWorld(const Point& p) const {
  switch (kind_) {
    case Kind::kWorld:
      return p;
    case Kind::kMirrored:
      return {-p.x, p.y, -p.z};
    case Kind::kTilted:
      break;
  }
  return {p.x * xAxis_.x + p.y * yAxis_.x + p.z * normal_.x,
          p.x * xAxis_.y + p.y * yAxis_.y + p.z * normal_.y,
          p.x * xAxis_.z + p.y * yAxis_.z + p.z * normal_.z};
}

}  // namespace cad::dxf
