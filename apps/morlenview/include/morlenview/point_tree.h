#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "morlenview/point_grid.h"

namespace morlenview {

// A k-d tree over a fixed set of points, for the nearest of them within a
// radius of any size. Built in O(n log n) by splitting each range at its
// median across its wider side (so points on one line are split along it);
// a search goes down to the query's own leaf and then looks only into the
// parts nearer than the best point found, so a dense cluster or points far
// apart cost alike. Any finite coordinates, the largest included.
class PointTree {
 public:
  // Indexes `points`, which must outlive the tree and stay unchanged.
  // Points that are not finite are left out.
  explicit PointTree(const std::vector<PlanePoint>& points);

  struct Nearest {
    std::size_t index = 0;  // into the points given
    double distance = 0.0;
  };
  // The point nearest to `p` within `radius`, or nothing. Among points at
  // the same distance, any one.
  std::optional<Nearest> nearest(PlanePoint p, double radius) const;

 private:
  void build(std::size_t begin, std::size_t end);
  void search(std::size_t begin, std::size_t end, PlanePoint p, std::optional<Nearest>& best,
              double& reach) const;

  const std::vector<PlanePoint>& points_;
  // Point indices, ordered so that every range [begin, end) of more than a
  // leaf's points is split at its middle: points lower on the range's axis
  // before it, higher after (ties ordered by the other coordinate).
  std::vector<std::uint32_t> order_;
  // The axis of the range whose middle is at that place of order_: 0 x, 1 y.
  std::vector<std::uint8_t> axis_;
};

}  // namespace morlenview
