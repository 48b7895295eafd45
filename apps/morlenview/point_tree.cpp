#include "morlenview/point_tree.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace morlenview {
namespace {

constexpr std::size_t kLeaf = 8;

double along(const PlanePoint& p, int axis) {
  return axis == 0 ? p.x : p.y;
}

}  // namespace

PointTree::PointTree(const std::vector<PlanePoint>& points) : points_(points) {
  if (points.size() >= 0xFFFFFFFFu) throw std::length_error("too many points for one tree");
  order_.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    if (std::isfinite(points[i].x) && std::isfinite(points[i].y))
      order_.push_back(static_cast<std::uint32_t>(i));
  axis_.assign(order_.size(), 0);
  build(0, order_.size());
}

void PointTree::build(std::size_t begin, std::size_t end) {
  // The lower half recursively, the upper half in the loop: the depth of
  // the recursion stays near log2 of the count.
  while (end - begin > kLeaf) {
    double minX = points_[order_[begin]].x, maxX = minX;
    double minY = points_[order_[begin]].y, maxY = minY;
    for (std::size_t k = begin; k < end; ++k) {
      const PlanePoint& p = points_[order_[k]];
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
    // Halves of the bounds, so the widest spans do not overflow.
    const int axis = maxX / 2 - minX / 2 >= maxY / 2 - minY / 2 ? 0 : 1;
    const std::size_t middle = begin + (end - begin) / 2;
    std::nth_element(
        order_.begin() + static_cast<std::ptrdiff_t>(begin),
        order_.begin() + static_cast<std::ptrdiff_t>(middle),
        order_.begin() + static_cast<std::ptrdiff_t>(end), [&](std::uint32_t a, std::uint32_t b) {
          const double ka = along(points_[a], axis), kb = along(points_[b], axis);
          return ka < kb || (ka == kb && along(points_[a], 1 - axis) < along(points_[b], 1 - axis));
        });
    axis_[middle] = static_cast<std::uint8_t>(axis);
    build(begin, middle);
    begin = middle + 1;
  }
}

std::optional<PointTree::Nearest> PointTree::nearest(PlanePoint p, double radius) const {
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !(radius >= 0)) return std::nullopt;
  std::optional<Nearest> best;
  double reach = radius;
  search(0, order_.size(), p, best, reach);
  return best;
}

// `reach` is the distance within which a point still counts: the radius,
// then the best distance found.
void PointTree::search(std::size_t begin, std::size_t end, PlanePoint p,
                       std::optional<Nearest>& best, double& reach) const {
  if (end - begin <= kLeaf) {
    for (std::size_t k = begin; k < end; ++k) {
      const PlanePoint& q = points_[order_[k]];
      const double distance = std::hypot(q.x - p.x, q.y - p.y);
      if (distance <= reach && (!best || distance < best->distance)) {
        best = Nearest{order_[k], distance};
        reach = distance;
      }
    }
    return;
  }
  const std::size_t middle = begin + (end - begin) / 2;
  const PlanePoint& split = points_[order_[middle]];
  const int axis = axis_[middle];
  const double offset = along(p, axis) - along(split, axis);
  // The middle point itself, then the side of the query, then the other
  // side when the splitting line is within reach.
  const double distance = std::hypot(split.x - p.x, split.y - p.y);
  if (distance <= reach && (!best || distance < best->distance)) {
    best = Nearest{order_[middle], distance};
    reach = distance;
  }
  if (offset < 0) {
    search(begin, middle, p, best, reach);
    if (-offset <= reach) search(middle + 1, end, p, best, reach);
  } else {
    search(middle + 1, end, p, best, reach);
    if (offset <= reach) search(begin, middle, p, best, reach);
  }
}

}  // namespace morlenview
