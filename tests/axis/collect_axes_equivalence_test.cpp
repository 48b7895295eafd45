// The indexed collection against the loop over every pair, on generated
// drawings made of the shapes where a pruned pair could go wrong: grids,
// fans of arcs, touching and overlapping figures, T-junctions, duplicates,
// tangents, nearly parallel lines, figures far from the origin.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "axis/collect_axes.h"
#include "cad/database.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "reference/reference_forms.h"

namespace tavrin {

namespace {

using Rng = std::mt19937_64;
constexpr double kPi = std::numbers::pi;

double uniform(Rng& rng, double a, double b) {
  return std::uniform_real_distribution<double>(a, b)(rng);
}
int pick(Rng& rng, int a, int b) {
  return std::uniform_int_distribution<int>(a, b)(rng);
}

// Builds a drawing in the current database and lists what is selected.
class Drawing {
 public:
  explicit Drawing(double ox, double oy) : ox_(ox), oy_(oy) {}

  void line(double x1, double y1, double x2, double y2) {
    add(std::make_unique<AcDbLine>(AcGePoint3d(ox_ + x1, oy_ + y1, 0),
                                   AcGePoint3d(ox_ + x2, oy_ + y2, 0)));
  }
  void arc(double cx, double cy, double r, double start, double end) {
    add(std::make_unique<AcDbArc>(AcGePoint3d(ox_ + cx, oy_ + cy, 0), r, start, end));
  }
  void circle(double cx, double cy, double r) {
    auto c = std::make_unique<AcDbCircle>();
    c->centre = AcGePoint3d(ox_ + cx, oy_ + cy, 0);
    c->radius = r;
    add(std::move(c));
  }
  // Selects an entity already selected once more.
  void repeat(Rng& rng) {
    if (!ids.empty())
      ids.push_back(ids[static_cast<std::size_t>(pick(rng, 0, static_cast<int>(ids.size()) - 1))]);
  }

  std::vector<AcDbObjectId> ids;

 private:
  void add(std::unique_ptr<AcDbEntity> entity) {
    ids.push_back(cad::currentDatabase().append(std::move(entity)));
  }
  double ox_, oy_;
};

double angle(Rng& rng) {
  return uniform(rng, 0, 2 * kPi);
}

void grid(Drawing& d, Rng& rng) {
  const int n = pick(rng, 2, 12);
  const double step = uniform(rng, 1, 6000);
  for (int i = 0; i < n; ++i) d.line(i * step, 0, i * step, (n - 1) * step);
  for (int i = 0; i < n; ++i) d.line(0, i * step, (n - 1) * step, i * step);
}

void walls(Drawing& d, Rng& rng) {
  for (int k = pick(rng, 5, 60); k > 0; --k) {
    const double x = pick(rng, 0, 40) * 250.0, y = pick(rng, 0, 40) * 250.0;
    const double len = pick(rng, 1, 12) * 250.0;
    if (pick(rng, 0, 1))
      d.line(x, y, x + len, y);
    else
      d.line(x, y, x, y + len);
  }
}

void fanOfArcs(Drawing& d, Rng& rng) {
  const double cx = uniform(rng, -100, 100), cy = uniform(rng, -100, 100);
  for (int k = pick(rng, 2, 10); k > 0; --k)
    d.arc(cx, cy, pick(rng, 1, 8) * 300.0, angle(rng), angle(rng));
  for (int k = pick(rng, 1, 8); k > 0; --k) {
    const double a = angle(rng);
    d.line(cx, cy, cx + 3000 * std::cos(a), cy + 3000 * std::sin(a));
  }
  // Arcs through direction 0 and whole circles.
  d.arc(cx, cy, 1200, 5.5, 0.8);
  d.arc(cx + 50, cy, 900, 1.0, 1.0);
}

void touching(Drawing& d, Rng& rng) {
  const double x = uniform(rng, -500, 500), y = uniform(rng, -500, 500);
  const double len = uniform(rng, 0.5, 800);
  d.line(x, y, x + len, y);
  d.line(x + len, y, x + len, y + len);                  // end on end
  d.line(x + len / 2, y, x + len / 2, y - len);          // T-junction
  d.line(x + len / 3, y + len, x + len / 3, y + 1e-10);  // stops just short
  d.line(x, y, x + len, y);                              // duplicate
  d.line(x + len / 4, y, x + 2 * len, y);                // collinear overlap
  d.line(x, y + 1e-9 * len, x + len, y);                 // nearly parallel
  d.line(x - len, y - len * 1e-11, x + 3 * len, y + len * 1e-11);
  d.line(x + len / 5, y + len / 5, x + len / 5, y + len / 5);  // no length
  const double r = uniform(rng, 1, 400);
  d.arc(x, y + len + r, r, angle(rng), angle(rng));  // tangent to a line
  d.arc(x + 2 * r, y + len + r, r, 0, kPi * 1.999);  // tangent circles
  d.arc(x, y + len + r + 1e-9, r, 0, 0);             // nearly concentric
  d.arc(x + len + r, y, r, 0.5 * kPi, 1.5 * kPi);    // touches a line's end
  d.circle(x, y, len / 2);                           // not an axis
}

void scatter(Drawing& d, Rng& rng) {
  for (int k = pick(rng, 3, 40); k > 0; --k) {
    const double x = uniform(rng, -1e4, 1e4), y = uniform(rng, -1e4, 1e4);
    if (pick(rng, 0, 3) == 0)
      d.arc(x, y, uniform(rng, 0.1, 3000), angle(rng), angle(rng));
    else
      d.line(x, y, x + uniform(rng, -3000, 3000), y + uniform(rng, -3000, 3000));
  }
}

struct Collected {
  std::vector<AxisKind> kinds;
  std::vector<AcGePoint3d> centres;
  std::vector<std::vector<AxisPoint>> points;
};

Collected collect(const std::vector<AcDbObjectId>& ids, bool pairwise, bool clean) {
  AxisSet axes;
  ads_name set = {cad::selectionSets().add(ids), 0};
  AcGePoint3dArray buffer(0, 8);
  if (pairwise)
    reference::collectAxesPairwise(set, axes, buffer);
  else
    EXPECT_TRUE(collectAxes(set, axes, buffer)) << "a script never breaks";
  cad::selectionSets().free(set[0]);
  if (clean) cleanAndOrderAxes(axes);
  Collected out;
  for (const Axis* a = axes.head(); a != nullptr; a = a->next) {
    out.kinds.push_back(a->kind);
    out.centres.push_back(a->centre);
    out.points.emplace_back(a->points.data(), a->points.data() + a->points.size());
  }
  return out;
}

// Same axes, same points in the same order, to the bit.
::testing::AssertionResult sameAxes(const Collected& a, const Collected& b) {
  if (a.points.size() != b.points.size())
    return ::testing::AssertionFailure() << a.points.size() << " axes against " << b.points.size();
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    const auto& p = a.points[i];
    const auto& q = b.points[i];
    if (a.kinds[i] != b.kinds[i] || !(a.centres[i] == b.centres[i]) || p.size() != q.size() ||
        (!p.empty() && std::memcmp(p.data(), q.data(), p.size() * sizeof(AxisPoint)) != 0))
      return ::testing::AssertionFailure()
             << "axis " << i << " differs: " << p.size() << " points against " << q.size();
  }
  return ::testing::AssertionSuccess();
}

std::size_t pointCount(const Collected& c) {
  std::size_t n = 0;
  for (const auto& p : c.points) n += p.size();
  return n;
}

class CollectAxesEquivalence : public ::testing::Test {
 protected:
  void SetUp() override { cad::setCurrentDatabase(std::make_unique<cad::Database>()); }
  void TearDown() override { cad::setCurrentDatabase(nullptr); }
};

TEST_F(CollectAxesEquivalence, IndexedAndPairwiseLoopsGiveTheSameAxes) {
  using Maker = std::function<void(Drawing&, Rng&)>;
  const Maker makers[] = {grid, walls, fanOfArcs, touching, scatter};
  // Near the origin, in projected coordinates and far out, where the
  // tolerance and the rounding grow with the coordinates.
  const double origins[][2] = {{0, 0}, {512345.678, 3012345.25}, {-7.3e8, 4.1e9}};
  Rng rng(14);
  std::size_t crossings = 0;
  for (int round = 0; round < 240; ++round) {
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
    const auto& origin = origins[round % 3];
    Drawing d(origin[0], origin[1]);
    for (int k = pick(rng, 1, 4); k > 0; --k)
      makers[static_cast<std::size_t>(pick(rng, 0, 4))](d, rng);
    for (int k = pick(rng, 0, 2); k > 0; --k) d.repeat(rng);
    std::shuffle(d.ids.begin(), d.ids.end(), rng);

    const Collected pairwise = collect(d.ids, true, false);
    ASSERT_TRUE(sameAxes(collect(d.ids, false, false), pairwise)) << "round " << round;
    ASSERT_TRUE(sameAxes(collect(d.ids, false, true), collect(d.ids, true, true)))
        << "round " << round << ", cleaned";
    crossings += pointCount(pairwise) - 2 * pairwise.points.size();
    EXPECT_EQ(cad::currentDatabase().openObjectCount(), 0);
  }
  // The drawings must meet often, or the comparison proves little.
  EXPECT_GT(crossings, 10000u);
}

}  // namespace

}  // namespace tavrin
