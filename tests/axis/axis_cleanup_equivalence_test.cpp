// The fast cleanup and ordering against their pairwise reference forms, on
// generated point lists built to hit every boundary: near-duplicates on the
// tolerance, chains of near points, equal keys, arcs through direction 0.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "axis/axis.h"
#include "reference/reference_forms.h"

namespace tavrin {

namespace {

using Rng = std::mt19937_64;

double uniform(Rng& rng, double a, double b) {
  return std::uniform_real_distribution<double>(a, b)(rng);
}
int pick(Rng& rng, int a, int b) {
  return std::uniform_int_distribution<int>(a, b)(rng);
}

// A coordinate on the tolerance grid, or just off it by about 1e-9.
double nearGrid(Rng& rng, double origin) {
  const double offsets[] = {0.0, 1e-9, -1e-9, 2e-9, -2e-9, 0.3e-9};
  return origin + Axis::kPointTolerance * pick(rng, -4, 4) + offsets[pick(rng, 0, 5)];
}

// Clusters of near-duplicates around a few centres, 0.3 +- 1e-9 apart.
std::vector<AxisPoint> clusters(Rng& rng, int n) {
  std::vector<AxisPoint> out;
  const double cx = uniform(rng, -1e4, 1e4), cy = uniform(rng, -1e4, 1e4);
  for (int i = 0; i < n; ++i) {
    const double ox = cx + pick(rng, 0, 3) * 5.0, oy = cy + pick(rng, 0, 3) * 5.0;
    out.push_back({nearGrid(rng, ox), nearGrid(rng, oy), 0.0, 0.0});
  }
  return out;
}

// Runs of points each within the tolerance of the one before, in any order.
std::vector<AxisPoint> chains(Rng& rng, int n) {
  std::vector<AxisPoint> out;
  double x = uniform(rng, -100, 100), y = uniform(rng, -100, 100);
  for (int i = 0; i < n; ++i) {
    if (pick(rng, 0, 9) == 0) x += uniform(rng, 1, 3);
    x += uniform(rng, 0.05, 0.299);
    y += uniform(rng, -0.299, 0.299);
    out.push_back({x, y, 0.0, 0.0});
  }
  std::shuffle(out.begin() + 2, out.end(), rng);
  return out;
}

// Points on a line with many equal x (or y) values: ties for the sort.
std::vector<AxisPoint> ties(Rng& rng, int n, bool vertical) {
  std::vector<AxisPoint> out;
  for (int i = 0; i < n; ++i) {
    const double along = pick(rng, 0, n / 3 + 1) * 0.5;
    const double across = pick(rng, 0, 6) * 0.4 - (pick(rng, 0, 1) ? 0.0 : -0.0);
    out.push_back(vertical ? AxisPoint{across, along, 0.0, 0.0}
                           : AxisPoint{along, across + 0.0, 0.0, 0.0});
  }
  return out;
}

// Points near a circle about `centre`, clustered around direction 0, with
// repeated directions at other radii so that angles tie.
std::vector<AxisPoint> arcAcrossZero(Rng& rng, int n, AcGePoint3d centre) {
  std::vector<AxisPoint> out;
  std::vector<double> directions;
  for (int i = 0; i < n; ++i) {
    double a;
    if (!directions.empty() && pick(rng, 0, 3) == 0)
      a = directions[static_cast<std::size_t>(
          pick(rng, 0, static_cast<int>(directions.size()) - 1))];
    else
      a = uniform(rng, -0.6, 0.6) + (pick(rng, 0, 5) == 0 ? 1e-7 * pick(rng, -2, 2) : 0.0);
    directions.push_back(a);
    const double r = 50.0 + pick(rng, 0, 2) * 0.35;
    out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a), 0.0, 0.0});
  }
  // The entity's end points first: start below direction 0, end above it.
  out[0] = {centre.x + 50 * std::cos(-0.7), centre.y + 50 * std::sin(-0.7), 0.0, 0.0};
  out[1] = {centre.x + 50 * std::cos(0.7), centre.y + 50 * std::sin(0.7), 0.0, 0.0};
  return out;
}

std::vector<AxisPoint> run(const std::vector<AxisPoint>& input, AxisKind kind, AcGePoint3d centre,
                           bool reference) {
  Axis axis;
  axis.kind = kind;
  axis.centre = centre;
  for (const AxisPoint& p : input) axis.points.add(p);
  if (reference)
    axis.removeDuplicatesPairwise();
  else
    axis.removeDuplicates();
  axis.computeAngles();
  if (reference)
    reference::orderPointsBySelection(axis);
  else
    axis.orderPoints();
  return {axis.points.data(), axis.points.data() + axis.points.size()};
}

// Bytes, not values: -0.0 and 0.0 (and NaN) must come out alike too.
bool sameBytes(const std::vector<AxisPoint>& a, const std::vector<AxisPoint>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(AxisPoint)) == 0);
}

bool hasEqualKeys(const std::vector<AxisPoint>& points, AxisKind kind) {
  for (std::size_t i = 1; i < points.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (kind == AxisKind::Arc ? points[i].angle == points[j].angle
                                : points[i].x == points[j].x || points[i].y == points[j].y)
        return true;
  return false;
}

TEST(AxisCleanupEquivalence, FastCleanupAndOrderMatchThePairwiseFormsExactly) {
  struct Shape {
    const char* name;
    AxisKind kind;
    int minimumWithTies;  // rounds whose result must hold equal keys
    std::function<std::vector<AxisPoint>(Rng&, int)> make;
  };
  const AcGePoint3d centre(1234.5, -678.25, 0.0);
  const Shape shapes[] = {
      {"clusters", AxisKind::Straight, 20, clusters},
      {"chains", AxisKind::Straight, 0, chains},
      {"ties along x", AxisKind::Straight, 100, [](Rng& r, int n) { return ties(r, n, false); }},
      {"ties along y", AxisKind::Straight, 100, [](Rng& r, int n) { return ties(r, n, true); }},
      {"arc across 0", AxisKind::Arc, 100,
       [&centre](Rng& r, int n) { return arcAcrossZero(r, n, centre); }},
      {"clusters on an arc", AxisKind::Arc, 0, clusters},
  };
  Rng rng(20261209);
  for (const Shape& shape : shapes) {
    int withTies = 0, large = 0;
    for (int round = 0; round < 300; ++round) {
      const int n = round % 10 == 0 ? pick(rng, 300, 1500) : pick(rng, 2, 120);
      std::vector<AxisPoint> input = shape.make(rng, n);
      if (pick(rng, 0, 1)) std::swap(input[0], input[1]);  // both directions
      const std::vector<AxisPoint> fast = run(input, shape.kind, centre, false);
      const std::vector<AxisPoint> reference = run(input, shape.kind, centre, true);
      ASSERT_TRUE(sameBytes(fast, reference))
          << shape.name << ", round " << round << ": " << n << " points, " << fast.size()
          << " kept fast, " << reference.size() << " kept pairwise";
      if (hasEqualKeys(reference, shape.kind)) ++withTies;
      if (input.size() >= 24) ++large;
    }
    // The generator must reach the replayed swaps and the hashed cleanup.
    EXPECT_GE(withTies, shape.minimumWithTies) << shape.name;
    EXPECT_GT(large, 100) << shape.name;
  }
}

TEST(AxisCleanupEquivalence, UnhashableAndUnorderableValuesFallBackToTheSameResult) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    double special;
  } cases[] = {{"NaN", nan}, {"infinity", inf}, {"huge", 3e15}, {"minus zero", -0.0}};
  Rng rng(7);
  for (const Case& c : cases) {
    for (int round = 0; round < 40; ++round) {
      std::vector<AxisPoint> input = chains(rng, 60);
      // Both signs: -0.0 and 0.0 must tie as the comparisons see them.
      for (int k = 0; k < 6; ++k)
        input[static_cast<std::size_t>(pick(rng, 0, 59))].x = k % 2 ? -c.special : c.special;
      for (AxisKind kind : {AxisKind::Straight, AxisKind::Arc}) {
        const AcGePoint3d centre(0, 0, 0);
        EXPECT_TRUE(sameBytes(run(input, kind, centre, false), run(input, kind, centre, true)))
            << c.name << ", round " << round;
      }
    }
  }
}

}  // namespace

}  // namespace tavrin
