#include "morlenview/point_grid.h"

#include <bit>
#include <cmath>
#include <stdexcept>

namespace morlenview {
namespace {

std::uint64_t mix(std::uint64_t value) {
  value ^= value >> 31;
  value *= 0x7fb5d329728ea185ULL;
  value ^= value >> 27;
  value *= 0x81dadef4bc2dd44dULL;
  return value ^ (value >> 33);
}

}  // namespace

PointGrid::PointGrid(double cellSize)
    : perCell_(1.0 / cellSize), scaledLimit_(cellSize * 4503599627370496.0), slots_(16, 0) {}

// The cell of a coordinate: the whole number of cells below it while that
// number is exact, the value itself beyond. Adding 0.0 makes -0.0 one key
// with 0.0.
double PointGrid::cellOf(double value) const {
  if (std::fabs(value) < scaledLimit_) return std::floor(value * perCell_) + 0.0;
  return value + 0.0;
}

std::size_t PointGrid::slotOf(double cellX, double cellY) const {
  const std::uint64_t hash = mix(std::bit_cast<std::uint64_t>(cellX) ^
                                 std::rotl(mix(std::bit_cast<std::uint64_t>(cellY)), 17));
  return static_cast<std::size_t>(hash) & (slots_.size() - 1);
}

void PointGrid::grow() {
  std::vector<std::uint32_t> old(slots_.size() * 2, 0);
  old.swap(slots_);
  for (std::size_t index = 0; index < points_.size(); ++index) {
    std::size_t slot = slotOf(cellOf(points_[index].x), cellOf(points_[index].y));
    while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
    slots_[slot] = static_cast<std::uint32_t>(index + 1);
  }
}

void PointGrid::add(PlanePoint p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (points_.size() >= 0xFFFFFFFEu) throw std::length_error("too many points for one grid");
  points_.push_back(p);
  // At most half full, so the runs of taken slots stay short.
  if (points_.size() * 2 > slots_.size()) {
    grow();
    return;
  }
  std::size_t slot = slotOf(cellOf(p.x), cellOf(p.y));
  while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
  slots_[slot] = static_cast<std::uint32_t>(points_.size());
}

std::vector<PlanePoint> PointGrid::takePoints() {
  std::vector<PlanePoint> taken;
  taken.swap(points_);
  slots_.assign(16, 0);
  return taken;
}

std::optional<PointGrid::Nearest> PointGrid::nearest(PlanePoint p, double radius) const {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
  // With the radius at most a cell, the cells of p - radius, p and
  // p + radius are every cell a point within the radius can be in.
  const double xs[] = {cellOf(p.x - radius), cellOf(p.x), cellOf(p.x + radius)};
  const double ys[] = {cellOf(p.y - radius), cellOf(p.y), cellOf(p.y + radius)};
  std::optional<Nearest> best;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && xs[i] == xs[i - 1]) continue;
    for (int j = 0; j < 3; ++j) {
      if (j > 0 && ys[j] == ys[j - 1]) continue;
      // The run of taken slots from the cell's hash holds every point of
      // the cell, and maybe points of other cells: those are measured too,
      // which is cheaper than telling them apart.
      for (std::size_t slot = slotOf(xs[i], ys[j]); slots_[slot] != 0;
           slot = (slot + 1) & (slots_.size() - 1)) {
        const std::size_t index = slots_[slot] - 1;
        const PlanePoint& q = points_[index];
        const double dx = q.x - p.x, dy = q.y - p.y;
        if (!(dx * dx + dy * dy <= 4 * radius * radius)) continue;
        const double distance = std::hypot(dx, dy);
        if (distance <= radius && (!best || distance < best->distance))
          best = Nearest{index, distance};
      }
    }
  }
  return best;
}

}  // namespace morlenview
