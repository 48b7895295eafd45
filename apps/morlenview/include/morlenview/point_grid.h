#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace morlenview {

// A point of the plane, in metres.
struct PlanePoint {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const PlanePoint&) const = default;
};

// Points hashed into square cells, so that the points near a given one are
// found by looking at its cell and the eight around it. A search radius up to
// the cell size finds every point within that radius.
class PointGrid {
 public:
  // `cellSize` in metres, > 0.
  explicit PointGrid(double cellSize);

  // Adds `p`; a point with a coordinate that is not finite is ignored.
  void add(PlanePoint p);
  const std::vector<PlanePoint>& points() const { return points_; }

  struct Nearest {
    std::size_t index = 0;
    double distance = 0.0;
  };
  // The stored point nearest to `p` within `radius` (at most the cell size),
  // or nothing.
  std::optional<Nearest> nearest(PlanePoint p, double radius) const;

 private:
  std::uint64_t cellKey(PlanePoint p, int dx, int dy) const;

  double cellSize_;
  std::vector<PlanePoint> points_;
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells_;
};

}  // namespace morlenview
