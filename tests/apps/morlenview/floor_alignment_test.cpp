#include "morlenview/floor_alignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "morlenview/point_tree.h"

namespace {

using morlenview::AlignmentFloor;
using morlenview::AlignmentResult;
using morlenview::PlanePoint;

// The crossings of an n by n grid of axes `spacing` metres apart, moved by
// (dx, dy) and scaled about the origin by `scale`.
AlignmentFloor grid(int n, double spacing, double dx = 0, double dy = 0, double scale = 1) {
  AlignmentFloor floor;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const PlanePoint p{(10 + i * spacing) * scale + dx, (5 + j * spacing) * scale + dy};
      floor.points.push_back(p);
      floor.extent.add(p);
    }
  return floor;
}

TEST(FloorAlignment, SameShiftedAndRescaledFloors) {
  struct Case {
    const char* what;
    AlignmentFloor other;
    bool overlap;
    std::size_t nearMisses;
    double largestOffset;
  };
  const Case cases[] = {
      {"the same grid", grid(6, 6.0), true, 0, 0.0},
      {"moved by 0.4 mm: coincides", grid(6, 6.0, 0.0004, 0), true, 0, 0.0},
      {"moved 100 mm along x", grid(6, 6.0, 0.1, 0), true, 72, 0.1},
      {"moved by (0.2, 0.2): 283 mm", grid(6, 6.0, 0.2, 0.2), true, 72, std::hypot(0.2, 0.2)},
      {"moved 1.5 mm", grid(6, 6.0, 0, 0.0015), true, 72, 0.0015},
      {"moved 500 mm: beyond a near miss", grid(6, 6.0, 0.5, 0), true, 0, 0.0},
      {"moved 100 m: extents apart", grid(6, 6.0, 100, 0), false, 0, 0.0},
      {"half the grid, same points", grid(3, 6.0), true, 0, 0.0},
      // Metres read as millimetres: 1000 times too small, a speck near the origin.
      {"1000 times smaller", grid(6, 6.0, 0, 0, 0.001), false, 0, 0.0},
      // Scaled by 1.001 about its first crossing, which stays: the others
      // drift 6 mm per axis, up to 30 mm in x and in y.
      {"scaled 1.001", grid(6, 6.0, -0.01, -0.005, 1.001), true, 70, std::hypot(0.03, 0.03)},
  };
  for (const Case& c : cases) {
    const AlignmentResult result = morlenview::checkAlignment({grid(6, 6.0), c.other});
    ASSERT_EQ(result.pairs.size(), 1u) << c.what;
    const auto& pair = result.pairs[0];
    EXPECT_EQ(pair.extentsOverlap, c.overlap) << c.what;
    EXPECT_EQ(pair.nearMisses, c.nearMisses) << c.what;
    EXPECT_NEAR(pair.largestOffset, c.largestOffset, 1e-9) << c.what;
    EXPECT_EQ(result.nearMisses.size(), pair.nearMisses) << c.what;
    EXPECT_EQ(result.linesUp(), c.overlap && c.nearMisses == 0) << c.what;
  }
}

TEST(FloorAlignment, NearMissesNameBothPointsAndBothDirections) {
  AlignmentFloor a;
  AlignmentFloor b;
  for (PlanePoint p : {PlanePoint{0, 0}, PlanePoint{6, 0}}) {
    a.points.push_back(p);
    a.extent.add(p);
  }
  // One coincides with a's first point; one lies 50 mm off a's second.
  for (PlanePoint p : {PlanePoint{0, 0}, PlanePoint{6.05, 0}}) {
    b.points.push_back(p);
    b.extent.add(p);
  }
  const AlignmentResult result = morlenview::checkAlignment({a, b});
  ASSERT_EQ(result.nearMisses.size(), 2u);
  EXPECT_EQ(result.nearMisses[0].floor, 0u);
  EXPECT_EQ(result.nearMisses[0].at, (PlanePoint{6, 0}));
  EXPECT_EQ(result.nearMisses[0].nearest, (PlanePoint{6.05, 0}));
  EXPECT_EQ(result.nearMisses[1].floor, 1u);
  EXPECT_EQ(result.nearMisses[1].otherFloor, 0u);
  EXPECT_NEAR(result.nearMisses[1].offset, 0.05, 1e-12);
}

TEST(FloorAlignment, EveryPairOfThreeFloorsAndEmptyFloorsLeftOut) {
  const AlignmentResult result =
      morlenview::checkAlignment({grid(4, 6.0), AlignmentFloor{}, grid(4, 6.0, 0.1), grid(4, 6.0)});
  ASSERT_EQ(result.pairs.size(), 3u);
  EXPECT_EQ(result.pairs[0].first, 0u);
  EXPECT_EQ(result.pairs[0].second, 2u);
  EXPECT_FALSE(result.pairs[0].linesUp());
  EXPECT_EQ(result.pairs[1].second, 3u);
  EXPECT_TRUE(result.pairs[1].linesUp());
  EXPECT_FALSE(result.pairs[2].linesUp());
  EXPECT_FALSE(result.linesUp());
}

// A campus of 1000 axes (500 by 500, 250,000 crossings 1.8 m apart) against
// itself shifted 50 mm: every point is found, each with its own twin. Speed
// is measured by the benchmark; here it must only complete and be right.
TEST(FloorAlignment, ThousandAxisCampus) {
  const AlignmentResult same = morlenview::checkAlignment({grid(500, 1.8), grid(500, 1.8)});
  EXPECT_TRUE(same.linesUp());
  const AlignmentResult shifted =
      morlenview::checkAlignment({grid(500, 1.8), grid(500, 1.8, 0, 0.05)});
  ASSERT_EQ(shifted.pairs.size(), 1u);
  EXPECT_EQ(shifted.pairs[0].nearMisses, 2u * 250000u);
  EXPECT_NEAR(shifted.pairs[0].largestOffset, 0.05, 1e-9);
}

TEST(PointGrid, NearestWithinTheRadiusOnly) {
  morlenview::PointGrid grid(0.3);
  grid.add({0, 0});
  grid.add({0.25, 0});
  grid.add({-0.29, -0.29});
  grid.add({NAN, 0});
  EXPECT_EQ(grid.points().size(), 3u);
  struct Case {
    PlanePoint query;
    double radius;
    int index;  // -1: none
  };
  const Case cases[] = {
      {{0.01, 0}, 0.3, 0},        {{0.2, 0}, 0.3, 1},     {{-0.3, -0.3}, 0.3, 2},
      {{0.56, 0}, 0.3, -1},       {{0.01, 0}, 0.005, -1}, {{-0.59, -0.59}, 0.3, -1},
      {{1e300, -1e300}, 0.3, -1},
  };
  for (const Case& c : cases) {
    const auto found = grid.nearest(c.query, c.radius);
    EXPECT_EQ(found ? static_cast<int>(found->index) : -1, c.index)
        << c.query.x << "," << c.query.y;
  }
}

// Far out, where a grid of 0.3 m cells once put every point into one clamped
// cell, points are still told apart, each value its own cell.
TEST(PointGrid, PointsAnywhereAreKeyedExactly) {
  morlenview::PointGrid grid(0.001);
  const double far[] = {3e8, -3e8, 1e15, 1.7976931348623157e308, -1.7976931348623157e308};
  for (double x : far) {
    // Fifty values stepping towards zero, at least 1.5 mm apart.
    for (int k = 0; k < 50; ++k) {
      grid.add({x, 7});
      const double step = std::max(0.0015, 2 * std::fabs(x - std::nextafter(x, 0.0)));
      x -= std::copysign(step, x);
    }
  }
  for (std::size_t index = 0; index < grid.points().size(); ++index) {
    const auto found = grid.nearest(grid.points()[index], 0.001);
    ASSERT_TRUE(found.has_value()) << index;
    EXPECT_EQ(found->index, index);
    EXPECT_EQ(found->distance, 0.0);
  }
  // Minus zero is the same cell as zero.
  grid.add({0.0, 0.0});
  const auto zero = grid.nearest({-0.0, -0.0}, 0.0005);
  ASSERT_TRUE(zero.has_value());
  EXPECT_EQ(grid.points()[zero->index], (PlanePoint{0.0, 0.0}));
}

// The tree finds what looking at every point finds, on points spread out,
// bunched a millimetre apart, on one line, repeated, and at the ends of the
// doubles.
TEST(PointTree, FindsTheNearestWithinTheRadiusAsAFullSearchDoes) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<std::vector<PlanePoint>> sets(5);
  for (int k = 0; k < 2000; ++k) sets[0].push_back({unit(random) * 50, unit(random) * 50});
  for (int i = 0; i < 40; ++i)
    for (int j = 0; j < 40; ++j) sets[1].push_back({i * 0.001, j * 0.001});
  for (int k = 0; k < 1500; ++k) sets[2].push_back({3.0, k * 0.01});
  for (int k = 0; k < 500; ++k) sets[3].push_back({k % 3 * 1.0, 0.0});
  for (double x : {-1.7976931348623157e308, -1e300, 0.0, 1e300, 1.7976931348623157e308})
    for (double y : {-1e308, 0.0, 5.0, 1e308}) sets[4].push_back({x, y});
  sets[4].push_back({NAN, 0});
  for (const auto& points : sets) {
    const morlenview::PointTree tree(points);
    for (int q = 0; q < 300; ++q) {
      const PlanePoint query =
          q < 100 ? points[static_cast<std::size_t>(q) % points.size()]
                  : PlanePoint{points[static_cast<std::size_t>(q) % points.size()].x +
                                   (unit(random) - 0.5) * 0.02,
                               points[static_cast<std::size_t>(q) % points.size()].y +
                                   (unit(random) - 0.5) * 0.02};
      for (double radius : {0.0, 0.0015, 0.3, 1e300}) {
        double best = INFINITY;
        for (const PlanePoint& p : points) {
          const double d = std::hypot(p.x - query.x, p.y - query.y);
          if (d <= radius && d < best) best = d;
        }
        const auto found = tree.nearest(query, radius);
        ASSERT_EQ(found.has_value(), std::isfinite(best)) << query.x << "," << query.y;
        if (found) {
          EXPECT_EQ(found->distance, best);
        }
      }
    }
  }
}

AlignmentFloor shiftedCopy(const AlignmentFloor& floor, double dx, double dy) {
  AlignmentFloor copy;
  for (const PlanePoint& p : floor.points) {
    copy.points.push_back({p.x + dx, p.y + dy});
    copy.extent.add(copy.points.back());
  }
  return copy;
}

// The report says which way a floor lies off the others, and which floor it
// is when the others agree.
TEST(FloorAlignment, TheShiftAndTheOddFloorOut) {
  const AlignmentFloor base = grid(6, 6.0);
  const AlignmentResult two = morlenview::checkAlignment({base, shiftedCopy(base, -0.1, 0.02)});
  ASSERT_EQ(two.pairs.size(), 1u);
  EXPECT_TRUE(two.pairs[0].oneShift);
  EXPECT_NEAR(two.pairs[0].shiftX, -0.1, 1e-9);
  EXPECT_NEAR(two.pairs[0].shiftY, 0.02, 1e-9);
  // Two floors: which one is off cannot be told.
  EXPECT_EQ(two.oddFloor, std::nullopt);

  const AlignmentResult three = morlenview::checkAlignment(
      {base, AlignmentFloor{}, shiftedCopy(base, 0.05, 0), base, shiftedCopy(base, 0, 0)});
  ASSERT_TRUE(three.oddFloor.has_value());
  EXPECT_EQ(*three.oddFloor, 2u);
  for (const auto& pair : three.pairs) {
    if (pair.first != 2 && pair.second != 2) continue;
    EXPECT_TRUE(pair.oneShift);
    // Seen from the pair's first floor.
    EXPECT_NEAR(pair.shiftX, pair.first == 2 ? -0.05 : 0.05, 1e-9);
  }

  // Two floors off in different ways: no single odd one.
  const AlignmentResult messy =
      morlenview::checkAlignment({base, shiftedCopy(base, 0.05, 0), shiftedCopy(base, 0, 0.05)});
  EXPECT_EQ(messy.oddFloor, std::nullopt);

  // Rescaled: the offsets differ from point to point.
  const AlignmentResult scaled =
      morlenview::checkAlignment({base, grid(6, 6.0, -0.01, -0.005, 1.001)});
  ASSERT_EQ(scaled.pairs.size(), 1u);
  EXPECT_FALSE(scaled.pairs[0].oneShift);
}

}  // namespace
