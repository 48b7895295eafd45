#include "axis/axis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tavrin {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::vector<double> xs(const Axis& axis) {
  std::vector<double> out;
  for (int i = 0; i < axis.points.size(); ++i) out.push_back(axis.points[i].x);
  return out;
}

std::vector<double> ys(const Axis& axis) {
  std::vector<double> out;
  for (int i = 0; i < axis.points.size(); ++i) out.push_back(axis.points[i].y);
  return out;
}

void addPoints(Axis& axis, const std::vector<AxisPoint>& points) {
  for (const AxisPoint& p : points) axis.points.add(p);
}

// A point on the circle of radius 10 about (100, 50) at `degrees`.
AxisPoint onArc(double degrees) {
  return AxisPoint{100 + 10 * std::cos(degrees * kDegree), 50 + 10 * std::sin(degrees * kDegree), 0,
                   -1};
}

void makeArc(Axis& axis, const std::vector<double>& degrees) {
  axis.kind = AxisKind::Arc;
  axis.centre = AcGePoint3d(100, 50, 0);
  for (double d : degrees) axis.points.add(onArc(d));
}

std::vector<double> anglesInDegrees(const Axis& axis) {
  std::vector<double> out;
  for (int i = 0; i < axis.points.size(); ++i)
    out.push_back(std::round(axis.points[i].angle / kDegree * 1e6) / 1e6);
  return out;
}

TEST(AxisTolerance, CoordinatesAreEqualOnlyStrictlyWithinPointThree) {
  struct Case {
    const char* label;
    double a, b;
    bool equal;
  } cases[] = {
      {"same", 5, 5, true},
      {"0.29 apart", 0, 0.29, true},
      {"exactly the tolerance", 0.0, 0.3, false},
      {"exactly the tolerance, negative", 0.3, 0.0, false},
      {"just inside", 0.0, std::nextafter(0.3, 0.0), true},
      {"far", -1, 1, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Axis::nearlyEqual(c.a, c.b), c.equal) << c.label;
}

TEST(AxisTolerance, PointsCompareEachCoordinateAloneAndIgnoreTheAngle) {
  struct Case {
    const char* label;
    AxisPoint p, q;
    bool equal;
  } cases[] = {
      {"0.29 in x and y, 0.41 as a distance", {0, 0, 0, 0}, {0.29, -0.29, 0, 0}, true},
      {"x differs", {0, 0, 0, 0}, {0.3, 0, 0, 0}, false},
      {"y differs", {0, 0, 0, 0}, {0, 1, 0, 0}, false},
      {"z differs", {0, 0, 0, 0}, {0, 0, 0.5, 0}, false},
      {"angles differ", {1, 1, 1, 0}, {1, 1, 1, 3}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(Axis::pointsEqual(c.p, c.q), c.equal) << c.label;
}

TEST(AxisRemoveDuplicates, KeepsTheEarliestOfEveryGroup) {
  struct Case {
    const char* label;
    std::vector<AxisPoint> points;
    std::vector<double> keptX;
  } cases[] = {
      {"diagonal near-duplicate goes", {{0, 0, 0, 0}, {0.29, -0.29, 0, 0}, {5, 0, 0, 0}}, {0, 5}},
      {"a difference of exactly the tolerance stays", {{0, 0, 0, 0}, {0.3, 0, 0, 0}}, {0, 0.3}},
      {"chain: only the first of the group is compared",
       {{0, 0, 0, 0}, {0.2, 0, 0, 0}, {0.4, 0, 0, 0}},
       {0, 0.4}},
      {"crossing equal to both end points goes",
       {{0, 0, 0, 0}, {10, 0, 0, 0}, {10.1, 0, 0, 0}, {5, 0, 0, 0}, {0.1, 0.1, 0, 0}},
       {0, 10, 5}},
      {"end point equal to the start point goes", {{0, 0, 0, 0}, {0.1, 0, 0, 0}}, {0}},
      {"several consecutive duplicates",
       {{1, 1, 0, 0}, {1, 1, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}},
       {1, 2}},
      {"one point", {{3, 3, 0, 0}}, {3}},
      {"no points", {}, {}},
  };
  for (const Case& c : cases) {
    Axis axis;
    addPoints(axis, c.points);
    const int capacity = axis.points.capacity();
    axis.removeDuplicates();
    EXPECT_EQ(xs(axis), c.keptX) << c.label;
    EXPECT_EQ(axis.points.capacity(), capacity) << c.label;
  }
}

TEST(AxisComputeAngles, SetsTheDirectionFromTheCentreOnArcsOnly) {
  Axis arc;
  arc.kind = AxisKind::Arc;
  arc.centre = AcGePoint3d(1, 1, 0);
  addPoints(arc, {{2, 1, 0, -1}, {1, 3, 0, -1}, {0, 1, 0, -1}, {1, 0, 0, -1}});
  arc.computeAngles();
  const double expected[] = {0, std::numbers::pi / 2, std::numbers::pi, 3 * std::numbers::pi / 2};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(arc.points[i].angle, expected[i], 1e-15) << i;

  Axis straight;
  straight.kind = AxisKind::Straight;
  addPoints(straight, {{2, 1, 0, -1}, {1, 3, 0, -1}});
  straight.computeAngles();
  EXPECT_EQ(straight.points[0].angle, -1.0);
  EXPECT_EQ(straight.points[1].angle, -1.0);
}

TEST(AxisSwapPoints, ExchangesWholeRecords) {
  Axis axis;
  addPoints(axis, {{1, 2, 3, 4}, {5, 6, 7, 8}});
  axis.swapPoints(0, 1);
  EXPECT_EQ(axis.points[0].x, 5.0);
  EXPECT_EQ(axis.points[0].angle, 8.0);
  EXPECT_EQ(axis.points[1].z, 3.0);
  EXPECT_EQ(axis.points[1].angle, 4.0);
}

TEST(AxisOrderPoints, StraightAxesRunFromTheStartPoint) {
  struct Case {
    const char* label;
    std::vector<AxisPoint> points;
    std::vector<double> x, y;
  } cases[] = {
      {"drawn right to left",
       {{10, 0, 0, 0}, {0, 0, 0, 0}, {3, 0, 0, 0}, {7, 0, 0, 0}},
       {10, 7, 3, 0},
       {0, 0, 0, 0}},
      {"drawn left to right",
       {{0, 0, 0, 0}, {10, 0, 0, 0}, {7, 0, 0, 0}, {3, 0, 0, 0}},
       {0, 3, 7, 10},
       {0, 0, 0, 0}},
      {"within 0.15 of vertical sorts by y",
       {{5, 0, 0, 0}, {5.1, 8, 0, 0}, {5.05, 6, 0, 0}, {5.02, 2, 0, 0}},
       {5, 5.02, 5.05, 5.1},
       {0, 2, 6, 8}},
      {"0.15 off vertical sorts by x",
       {{5, 0, 0, 0}, {5.15, 8, 0, 0}, {5.1, 0.5, 0, 0}, {5.05, 9, 0, 0}},
       {5, 5.05, 5.1, 5.15},
       {0, 9, 0.5, 8}},
      {"vertical drawn downwards",
       {{5000, 3000, 0, 0}, {5000, -3000, 0, 0}, {5000, 0, 0, 0}},
       {5000, 5000, 5000},
       {3000, 0, -3000}},
      {"house: vertical line and its crossing",
       {{5000, -3000, 0, 0}, {5000, 3000, 0, 0}, {5000, 0, 0, 0}},
       {5000, 5000, 5000},
       {-3000, 0, 3000}},
      {"one point", {{4, 4, 0, 0}}, {4}, {4}},
  };
  for (const Case& c : cases) {
    Axis axis;
    addPoints(axis, c.points);
    axis.orderPoints();
    EXPECT_EQ(xs(axis), c.x) << c.label;
    EXPECT_EQ(ys(axis), c.y) << c.label;
  }
}

TEST(AxisOrderPoints, EqualKeysKeepTheEarliestAscendingAndTheLatestDescending) {
  // Same x (the key) but distinguishable y.
  Axis ascending;
  addPoints(ascending, {{0, 0, 0, 0}, {10, 0, 0, 0}, {5, 1, 0, 0}, {5, 2, 0, 0}});
  ascending.orderPoints();
  EXPECT_EQ(ys(ascending), (std::vector<double>{0, 1, 2, 0}));

  // Descending: the latest of the equal largest keys is chosen first.
  Axis descending;
  addPoints(descending, {{10, 0, 0, 0}, {0, 0, 0, 0}, {5, 1, 0, 0}, {5, 2, 0, 0}});
  descending.orderPoints();
  EXPECT_EQ(ys(descending), (std::vector<double>{0, 2, 1, 0}));
}

TEST(AxisOrderPoints, ReversedLineGivesTheReversedOrder) {
  const std::vector<AxisPoint> crossings = {
      {3, 1.5, 0, 0}, {8, 4, 0, 0}, {1, 0.5, 0, 0}, {6, 3, 0, 0}};
  Axis forward, backward;
  addPoints(forward, {{0, 0, 0, 0}, {10, 5, 0, 0}});
  addPoints(backward, {{10, 5, 0, 0}, {0, 0, 0, 0}});
  addPoints(forward, crossings);
  addPoints(backward, crossings);
  forward.orderPoints();
  backward.orderPoints();
  std::vector<double> reversed = xs(backward);
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(xs(forward), reversed);
  EXPECT_EQ(xs(forward), (std::vector<double>{0, 1, 3, 6, 8, 10}));
}

TEST(AxisOrderPoints, CrossingsInAnyOrderGiveTheSameOrderedAxis) {
  const std::vector<std::vector<AxisPoint>> orders = {
      {{2, 0, 0, 0}, {9, 0, 0, 0}, {4, 0, 0, 0}},
      {{9, 0, 0, 0}, {4, 0, 0, 0}, {2, 0, 0, 0}},
      {{4, 0, 0, 0}, {2, 0, 0, 0}, {9, 0, 0, 0}},
  };
  for (const auto& crossings : orders) {
    Axis axis;
    addPoints(axis, {{12, 0, 0, 0}, {0, 0, 0, 0}});
    addPoints(axis, crossings);
    axis.orderPoints();
    EXPECT_EQ(xs(axis), (std::vector<double>{12, 9, 4, 2, 0}));
  }
}

TEST(AxisOrderPoints, ArcsRunCounterClockwiseFromTheStartPoint) {
  struct Case {
    const char* label;
    std::vector<double> degrees;  // start, end, crossings
    std::vector<double> ordered;
  } cases[] = {
      {"30 to 120 without wrap", {30, 120, 60}, {30, 60, 120}},
      {"300 to 60 across direction 0", {300, 60, 350, 10}, {300, 350, 10, 60}},
      {"300 to 60 with a crossing at 0", {300, 60, 0, 330}, {300, 330, 0, 60}},
      {"crossings in reverse order", {10, 200, 150, 90, 45}, {10, 45, 90, 150, 200}},
      {"start and end only, across 0", {270, 90}, {270, 90}},
      {"one point", {45}, {45}},
  };
  for (const Case& c : cases) {
    Axis axis;
    makeArc(axis, c.degrees);
    axis.computeAngles();
    axis.orderPoints();
    EXPECT_EQ(anglesInDegrees(axis), c.ordered) << c.label;
    for (int i = 0; i < axis.points.size(); ++i) {
      EXPECT_GE(axis.points[i].angle, 0.0) << c.label;
      EXPECT_LT(axis.points[i].angle, 2 * std::numbers::pi) << c.label;
    }
  }
}

TEST(AxisOrderPoints, ArcWithEqualEndAnglesTakesTheWrapBranchAndUnwraps) {
  Axis axis;
  axis.kind = AxisKind::Arc;
  addPoints(axis, {{0, 0, 0, 2.0}, {1, 0, 0, 2.0}, {2, 0, 0, 1.0}, {3, 0, 0, 4.0}});
  axis.orderPoints();
  // All three angles up to 2.0 were lifted by a full turn: 4.0 comes first.
  // Selection sort: the equal angles end in the order the swaps leave them.
  EXPECT_EQ(xs(axis), (std::vector<double>{3, 2, 1, 0}));
  EXPECT_EQ(axis.points[0].angle, 4.0);
  EXPECT_EQ(axis.points[1].angle, (1.0 + Axis::kFullTurn) - Axis::kFullTurn);
  EXPECT_EQ(axis.points[2].angle, (2.0 + Axis::kFullTurn) - Axis::kFullTurn);
  EXPECT_EQ(axis.points[3].angle, (2.0 + Axis::kFullTurn) - Axis::kFullTurn);
}

TEST(AxisOrderPoints, AngleJustBelowDirectionZeroIsReducedOnlyInTheWrapBranch) {
  const double nearlyFull = (Axis::kFullTurn + 2 * std::numbers::pi) / 2;  // in [6.2831852, 2 pi)
  ASSERT_GE(nearlyFull, Axis::kFullTurn);
  ASSERT_LT(nearlyFull, 2 * std::numbers::pi);

  Axis wrapped;
  wrapped.kind = AxisKind::Arc;
  addPoints(wrapped, {{0, 0, 0, 5.0}, {1, 0, 0, 1.0}, {2, 0, 0, nearlyFull}});
  wrapped.orderPoints();
  EXPECT_EQ(xs(wrapped), (std::vector<double>{0, 2, 1}));
  EXPECT_EQ(wrapped.points[1].angle, nearlyFull - Axis::kFullTurn);
  EXPECT_GT(wrapped.points[1].angle, 0.0);
  EXPECT_LT(wrapped.points[1].angle, 1.1e-7);

  Axis plain;
  plain.kind = AxisKind::Arc;
  addPoints(plain, {{0, 0, 0, 1.0}, {1, 0, 0, 5.0}, {2, 0, 0, nearlyFull}});
  plain.orderPoints();
  EXPECT_EQ(xs(plain), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(plain.points[2].angle, nearlyFull);
}

TEST(AxisOrderPoints, SinglePointIsLeftUnchangedByEveryRoutine) {
  for (AxisKind kind : {AxisKind::Straight, AxisKind::Arc}) {
    Axis axis;
    axis.kind = kind;
    axis.centre = AcGePoint3d(0, 0, 0);
    addPoints(axis, {{3, 4, 0, 9}});
    axis.removeDuplicates();
    axis.orderPoints();
    ASSERT_EQ(axis.points.size(), 1);
    EXPECT_EQ(axis.points[0].x, 3.0);
    EXPECT_EQ(axis.points[0].angle, 9.0);
  }
}

}  // namespace

}  // namespace tavrin

namespace tavrin {
namespace {

// The hashed and the pairwise forms agree at every tolerance, and the
// tolerance decides: points 1 mm apart in a metre drawing stay apart at
// 0.3 mm, and merge at 0.3 drawing units.
TEST(AxisTolerance, DecidesWhichPointsMergeInBothForms) {
  struct Case {
    double tolerance;
    double spacing;
    int survivors;
  } cases[] = {{0.0003, 0.001, 40}, {0.3, 0.001, 1}, {0.0003, 0.0002, 20}, {0.3, 0.25, 20}};
  for (const Case& c : cases)
    for (bool pairwise : {false, true}) {
      Axis axis;
      for (int i = 0; i < 40; ++i) axis.points.add(AxisPoint{1000 + i * c.spacing, 5.0, 0.0, 0.0});
      if (pairwise)
        axis.removeDuplicatesPairwise(c.tolerance);
      else
        axis.removeDuplicates(c.tolerance);
      EXPECT_EQ(axis.points.size(), c.survivors)
          << c.tolerance << " " << c.spacing << (pairwise ? " pairwise" : " hashed");
    }
}

}  // namespace
}  // namespace tavrin
