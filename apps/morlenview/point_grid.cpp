#include "morlenview/point_grid.h"

#include <algorithm>
#include <cmath>

namespace morlenview {
namespace {

// Cell indices far beyond any real grid are clamped, so the cast to an
// integer stays defined; such points only share cells with each other.
constexpr double kCellIndexLimit = 1e9;

std::int64_t cellIndex(double value, double cellSize) {
  return static_cast<std::int64_t>(
      std::clamp(std::floor(value / cellSize), -kCellIndexLimit, kCellIndexLimit));
}

}  // namespace

PointGrid::PointGrid(double cellSize) : cellSize_(cellSize) {}

std::uint64_t PointGrid::cellKey(PlanePoint p, int dx, int dy) const {
  const std::int64_t ix = cellIndex(p.x, cellSize_) + dx;
  const std::int64_t iy = cellIndex(p.y, cellSize_) + dy;
  return (static_cast<std::uint64_t>(ix) << 32) ^ static_cast<std::uint64_t>(iy & 0xFFFFFFFF);
}

void PointGrid::add(PlanePoint p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  cells_[cellKey(p, 0, 0)].push_back(points_.size());
  points_.push_back(p);
}

std::optional<PointGrid::Nearest> PointGrid::nearest(PlanePoint p, double radius) const {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  std::optional<Nearest> best;
  for (int dx = -1; dx <= 1; ++dx) {
    for (int dy = -1; dy <= 1; ++dy) {
      const auto cell = cells_.find(cellKey(p, dx, dy));
      if (cell == cells_.end()) continue;
      for (std::size_t index : cell->second) {
        const PlanePoint& q = points_[index];
        const double distance = std::hypot(q.x - p.x, q.y - p.y);
        if (distance <= radius && (!best || distance < best->distance))
          best = Nearest{index, distance};
      }
    }
  }
  return best;
}

}  // namespace morlenview
