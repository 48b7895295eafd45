#include "geometry/plane_box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

struct Point {
  double x, y;
};

geometry::PlaneBox boxOf(std::initializer_list<Point> points) {
  geometry::PlaneBox box;
  for (const Point& p : points) box.add(p);
  return box;
}

TEST(PlaneBox, HoldsTheFinitePointsOnly) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double nan = std::nan("");
  struct Case {
    const char* label;
    geometry::PlaneBox box;
    bool empty;
    double minX, minY, maxX, maxY;
  } cases[] = {
      {"no point", boxOf({}), true, 0, 0, 0, 0},
      {"one point", boxOf({{2, -3}}), false, 2, -3, 2, -3},
      {"points in any order", boxOf({{1, 5}, {-4, 2}, {3, -1}}), false, -4, -1, 3, 5},
      {"non-finite points left out", boxOf({{nan, 1}, {1, kInf}, {-kInf, 0}, {7, 8}}), false, 7, 8,
       7, 8},
      {"only non-finite points", boxOf({{nan, nan}}), true, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.box.empty, c.empty);
    EXPECT_EQ(c.box.minX, c.minX);
    EXPECT_EQ(c.box.minY, c.minY);
    EXPECT_EQ(c.box.maxX, c.maxX);
    EXPECT_EQ(c.box.maxY, c.maxY);
  }
}

TEST(PlaneBox, OverlapsWhenTheClosedBoxesShareAPoint) {
  const geometry::PlaneBox unit = boxOf({{0, 0}, {1, 1}});
  struct Case {
    const char* label;
    geometry::PlaneBox other;
    bool overlaps;
  } cases[] = {
      {"inside", boxOf({{0.25, 0.25}, {0.5, 0.5}}), true},
      {"touching at a corner", boxOf({{1, 1}, {2, 2}}), true},
      {"beside in x", boxOf({{1.5, 0}, {2, 1}}), false},
      {"beside in y", boxOf({{0, -2}, {1, -0.5}}), false},
      {"empty", boxOf({}), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(unit.overlaps(c.other), c.overlaps);
    EXPECT_EQ(c.other.overlaps(unit), c.overlaps);
  }
}

}  // namespace
