#include "axis/collect_axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

#include "cad/database.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

namespace tavrin {

namespace {

struct Xy {
  double x, y;
};

// A line whose intersection query records how many objects are open while it
// runs, or throws. Its run-time class is still "AcDbLine".
class ProbingLine : public AcDbLine {
 public:
  ProbingLine(AcGePoint3d a, AcGePoint3d b, int* maxOpen, bool throws = false)
      : AcDbLine(a, b), maxOpen_(maxOpen), throws_(throws) {}
  Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                  AcGePoint3dArray& points, int a, int b) const override {
    if (throws_) throw std::bad_alloc();
    *maxOpen_ = std::max(*maxOpen_, cad::currentDatabase().openObjectCount());
    return AcDbLine::intersectWith(other, type, points, a, b);
  }

 private:
  int* maxOpen_;
  bool throws_;
};

class CollectAxesTest : public ::testing::Test {
 protected:
  void SetUp() override { cad::setCurrentDatabase(std::make_unique<cad::Database>()); }
  void TearDown() override { cad::setCurrentDatabase(nullptr); }

  static cad::Database& db() { return cad::currentDatabase(); }

  AcDbObjectId line(Xy a, Xy b, double z = 0.0) {
    return db().append(
        std::make_unique<AcDbLine>(AcGePoint3d(a.x, a.y, z), AcGePoint3d(b.x, b.y, z)));
  }
  AcDbObjectId arc(Xy c, double r, double startDeg, double endDeg) {
    const double k = std::numbers::pi / 180.0;
    return db().append(
        std::make_unique<AcDbArc>(AcGePoint3d(c.x, c.y, 0), r, startDeg * k, endDeg * k));
  }
  AcDbObjectId circle(Xy c, double r) {
    auto e = std::make_unique<AcDbCircle>();
    e->centre = AcGePoint3d(c.x, c.y, 0);
    e->radius = r;
    return db().append(std::move(e));
  }

  // Collects and orders the entities `ids`, in this order, as the command does.
  void collect(const std::vector<AcDbObjectId>& ids) { collectInto(axes, ids); }
  static void collectInto(AxisSet& target, const std::vector<AcDbObjectId>& ids) {
    ads_name set = {cad::selectionSets().add(ids), 0};
    AcGePoint3dArray buffer(0, 8);
    EXPECT_TRUE(collectAxes(set, target, buffer)) << "a script never breaks";
    EXPECT_EQ(buffer.length(), 0) << "the intersection buffer is left empty";
    cad::selectionSets().free(set[0]);
    cleanAndOrderAxes(target);
    EXPECT_EQ(db().openObjectCount(), 0) << "every object opened is closed again";
  }

  static std::vector<Xy> pointsOf(const Axis* axis) {
    std::vector<Xy> out;
    for (int i = 0; i < axis->points.size(); ++i) {
      EXPECT_EQ(axis->points[i].z, 0.0);
      out.push_back({axis->points[i].x, axis->points[i].y});
    }
    return out;
  }

  static void expectPoints(const Axis* axis, const std::vector<Xy>& expected, const char* label) {
    ASSERT_NE(axis, nullptr) << label;
    auto actual = pointsOf(axis);
    ASSERT_EQ(actual.size(), expected.size()) << label;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << label << " point " << i;
      EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << label << " point " << i;
    }
  }

  AxisSet axes;
};

TEST_F(CollectAxesTest, OneLineGivesItsTwoEndPointsAtZeroHeight) {
  collect({line({1, 2}, {7, 2}, 35.0)});
  ASSERT_EQ(axes.count(), 1);
  EXPECT_EQ(axes.head()->kind, AxisKind::Straight);
  expectPoints(axes.head(), {{1, 2}, {7, 2}}, "line");
}

TEST_F(CollectAxesTest, CrossingLinesEachHoldTheCrossingInOrder) {
  collect({line({0, 0}, {10000, 0}), line({5000, -3000}, {5000, 3000})});
  ASSERT_EQ(axes.count(), 2);
  expectPoints(axes.head(), {{0, 0}, {5000, 0}, {10000, 0}}, "horizontal");
  expectPoints(axes.head()->next, {{5000, -3000}, {5000, 0}, {5000, 3000}}, "vertical");
}

TEST_F(CollectAxesTest, ALineEndingOnAnotherKeepsItsEndPointOnce) {
  collect({line({0, 0}, {10, 0}), line({5, 8}, {5, 0})});
  expectPoints(axes.head(), {{0, 0}, {5, 0}, {10, 0}}, "crossed line");
  // The crossing (5, 0) is the end point itself and merges into it.
  expectPoints(axes.head()->next, {{5, 8}, {5, 0}}, "ending line");
}

TEST_F(CollectAxesTest, AnArcGivesItsPolarEndPointsAndCentre) {
  collect({arc({100, 50}, 10, 0, 90)});
  ASSERT_EQ(axes.count(), 1);
  const Axis* a = axes.head();
  EXPECT_EQ(a->kind, AxisKind::Arc);
  EXPECT_EQ(a->centre, AcGePoint3d(100, 50, 0));
  expectPoints(a, {{110, 50}, {100, 60}}, "arc");
  EXPECT_NEAR(a->points[0].angle, 0.0, 1e-12);
  EXPECT_NEAR(a->points[1].angle, std::numbers::pi / 2, 1e-12);
}

TEST_F(CollectAxesTest, AnArcCrossedByALineOrdersCounterClockwise) {
  // Arc from 300 to 60 degrees through direction 0, crossed by the x axis.
  collect({arc({0, 0}, 10, 300, 60), line({-20, 0}, {20, 0})});
  const double h = 10 * std::sqrt(3.0) / 2;
  expectPoints(axes.head(), {{5, -h}, {10, 0}, {5, h}}, "arc through 0");
  expectPoints(axes.head()->next, {{-20, 0}, {10, 0}, {20, 0}}, "line across the arc");
}

TEST_F(CollectAxesTest, OtherEntitiesAddNoAxesAndNoPoints) {
  const AcDbObjectId c = circle({5, 0}, 2);  // crosses the line twice
  auto text = std::make_unique<AcDbText>();
  text->text = "A";
  const AcDbObjectId t = db().append(std::move(text));
  auto poly = std::make_unique<AcDbPolyline>();
  poly->vertices = {AcGePoint3d(2, -5, 0), AcGePoint3d(2, 5, 0)};
  const AcDbObjectId p = db().append(std::move(poly));

  collect({c, line({0, 0}, {10, 0}), t, p});
  ASSERT_EQ(axes.count(), 1);
  expectPoints(axes.head(), {{0, 0}, {10, 0}}, "line among others");
}

TEST_F(CollectAxesTest, OnlyOtherEntitiesGiveAnEmptySet) {
  collect({circle({0, 0}, 1), circle({5, 5}, 2)});
  EXPECT_TRUE(axes.isEmpty());
}

TEST_F(CollectAxesTest, AxesFollowTheSelectionOrderAndReorderingChangesNoAxis) {
  const AcDbObjectId a = line({0, 0}, {10, 0});
  const AcDbObjectId b = line({3, -5}, {3, 5});
  const AcDbObjectId c = arc({5, 0}, 4, 0, 180);
  collect({a, b, c});
  AxisSet reordered;
  collectInto(reordered, {c, a, b});

  ASSERT_EQ(axes.count(), 3);
  ASSERT_EQ(reordered.count(), 3);
  const Axis* first[] = {axes.head(), axes.head()->next, axes.last()};
  const Axis* second[] = {reordered.head()->next, reordered.last(), reordered.head()};
  const char* labels[] = {"line a", "line b", "arc c"};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(first[k]->kind, second[k]->kind) << labels[k];
    auto p = pointsOf(first[k]);
    expectPoints(second[k], p, labels[k]);
  }
  EXPECT_EQ(axes.head()->kind, AxisKind::Straight);
  EXPECT_EQ(axes.last()->kind, AxisKind::Arc);
  // The arc from 0 to 180 degrees about (5, 0) meets line a at both ends and
  // line b once.
  EXPECT_EQ(axes.last()->points.size(), 3);
}

TEST_F(CollectAxesTest, AtMostTwoObjectsAreOpenAtOnce) {
  int maxOpen = 0;
  std::vector<AcDbObjectId> ids;
  for (int i = 0; i < 4; ++i)
    ids.push_back(db().append(
        std::make_unique<ProbingLine>(AcGePoint3d(i, -5, 0), AcGePoint3d(i, 5, 0), &maxOpen)));
  ids.push_back(line({-1, 0}, {10, 0}));
  collect(ids);
  EXPECT_EQ(maxOpen, 2);
  EXPECT_EQ(axes.count(), 5);
}

TEST_F(CollectAxesTest, ErasedEntitiesAreSkippedAsAxesAndAsPartners) {
  const AcDbObjectId gone = line({5, -5}, {5, 5});
  db().find(gone)->setErased(true);
  collect({line({0, 0}, {10, 0}), gone});
  ASSERT_EQ(axes.count(), 1);
  expectPoints(axes.head(), {{0, 0}, {10, 0}}, "line beside an erased one");
}

TEST_F(CollectAxesTest, AnExceptionLeavesNoObjectOpenAndKeepsWhatWasCollected) {
  int maxOpen = 0;
  const AcDbObjectId plain = line({0, 0}, {10, 0});
  const AcDbObjectId throwing = db().append(std::make_unique<ProbingLine>(
      AcGePoint3d(5, -5, 0), AcGePoint3d(5, 5, 0), &maxOpen, /*throws=*/true));
  ads_name set = {cad::selectionSets().add({plain, throwing}), 0};
  AcGePoint3dArray buffer(0, 8);
  EXPECT_THROW(static_cast<void>(collectAxes(set, axes, buffer)), std::bad_alloc);
  cad::selectionSets().free(set[0]);
  EXPECT_EQ(db().openObjectCount(), 0);
  EXPECT_EQ(axes.count(), 1);  // the plain line, appended before the failure
}

}  // namespace

}  // namespace tavrin
