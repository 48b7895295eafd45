#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "geometry/plane_point.h"

namespace morlenview {

// A point of the plane, in metres.
using PlanePoint = geometry::PlanePoint;

// Points hashed into square cells, for finding a point within a radius no
// larger than the cell. Meant for points that stand apart by a good part of
// the cell size, as the distinct points of a floor do: a cell then holds a
// few, and adding and finding take a few steps each, however the points lie. Any finite coordinates
// are keyed exactly, the largest doubles included; far out, where neighbouring doubles are more
// than a cell apart, each value is a cell of its own.
class PointGrid {
 public:
  // `cellSize` in metres, > 0.
  explicit PointGrid(double cellSize);

  // Adds `p`; a point with a coordinate that is not finite is ignored.
  void add(PlanePoint p);
  const std::vector<PlanePoint>& points() const { return points_; }
  // The points added, in order, leaving the grid empty.
  std::vector<PlanePoint> takePoints();

  struct Nearest {
    std::size_t index = 0;
    double distance = 0.0;
  };
  // The stored point nearest to `p` within `radius` (at most the cell size),
  // or nothing.
  std::optional<Nearest> nearest(PlanePoint p, double radius) const;

 private:
  double cellOf(double value) const;
  std::size_t slotOf(double cellX, double cellY) const;
  void grow();

  // Cells per metre.
  double perCell_;
  // Beyond this, values are their own cells.
  double scaledLimit_;
  std::vector<PlanePoint> points_;
  // Open addressing: each slot holds a point's index + 1, or 0 when free; a
  // point sits in the first free slot from its cell's hash on.
  std::vector<std::uint32_t> slots_;
};

}  // namespace morlenview
