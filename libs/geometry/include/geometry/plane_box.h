#pragma once

#include <algorithm>
#include <cmath>

namespace geometry {

// The smallest axis-parallel box around the points added to it, in their
// unit. A point with a coordinate that is NaN or infinite is left out, so it
// cannot stretch the box to no end.
struct PlaneBox {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  // True until a point is in; the bounds mean nothing then.
  bool empty = true;

  void add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (empty) {
      minX = maxX = x;
      minY = maxY = y;
      empty = false;
      return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  // Any point type with members x and y.
  template <typename Point>
  void add(const Point& p) {
    add(p.x, p.y);
  }

  // True when the closed boxes share at least one point; false when either
  // is empty.
  bool overlaps(const PlaneBox& other) const {
    if (empty || other.empty) return false;
    return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
  }
};

}  // namespace geometry
