#pragma once

namespace geometry {

// A point of the plane, in the unit of whatever holds it.
struct PlanePoint {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const PlanePoint&) const = default;
};

}  // namespace geometry
