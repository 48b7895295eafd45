#include "dxf/object_coordinates.h"

#include <cmath>

namespace cad::dxf {
namespace {

Point cross(const Point& a, const Point& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool normalise(Point& p) {
  double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
  if (!(length > 1e-300)) return false;
  p = {p.x / length, p.y / length, p.z / length};
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
