// Object snap and picking over the spatial index.

#include "web_session/snap_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "host/ac_ge_point3d_array.h"
#include "test_drawing.h"

namespace {

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class SnapIndexTest : public ::testing::Test {
 protected:
  std::unique_ptr<cad::Database> database_ = crossingDrawing();
  web::DrawingData data_ = web::DrawingData::read(*database_);
  web::SnapIndex index_{data_};
};

TEST_F(SnapIndexTest, IntersectionIsTheHostsOwnResultBitForBit) {
  AcGePoint3dArray points;
  ASSERT_EQ(data_.entities[0]->intersectWith(data_.entities[1], AcDb::kOnBothOperands, points),
            Acad::eOk);
  ASSERT_EQ(points.length(), 1);
  const auto snap = index_.snap(points[0].x + 0.3, points[0].y - 0.2, 1.0);
  ASSERT_TRUE(snap);
  EXPECT_EQ(snap->kind, web::Snap::Kind::kIntersection);
  EXPECT_TRUE(sameBits(snap->x, points[0].x)) << snap->x << " " << points[0].x;
  EXPECT_TRUE(sameBits(snap->y, points[0].y)) << snap->y << " " << points[0].y;
}

TEST_F(SnapIndexTest, SnapsToTheNearestPointOfEachKind) {
  const web::Segment ends = web::arcEnds(data_.arcs[0]);
  struct Case {
    const char* what;
    double x, y, r;
    std::optional<web::Snap::Kind> kind;
    double expectedX, expectedY;
  };
  const Case cases[] = {
      {"line start", 0.5, 0.6, 2, web::Snap::Kind::kEnd, 0.1, 0.2},
      {"line end", 999, 700, 2, web::Snap::Kind::kEnd, 1000.3, 700.7},
      {"line middle", 500.2, 350.95, 2, web::Snap::Kind::kMid, (0.1 + 1000.3) / 2,
       (0.2 + 700.7) / 2},
      {"arc centre", 500, 350, 1, web::Snap::Kind::kCentre, 500.05, 350.2},
      {"arc start", ends.x1 + 0.1, ends.y1, 1, web::Snap::Kind::kEnd, ends.x1, ends.y1},
      {"nothing in reach", -30, 600, 5, std::nullopt, 0, 0},
      {"reach too short", 0.5, 0.6, 0.1, std::nullopt, 0, 0},
  };
  for (const Case& c : cases) {
    const auto snap = index_.snap(c.x, c.y, c.r);
    ASSERT_EQ(snap.has_value(), c.kind.has_value()) << c.what;
    if (!snap) continue;
    EXPECT_EQ(snap->kind, *c.kind) << c.what;
    EXPECT_EQ(snap->x, c.expectedX) << c.what;
    EXPECT_EQ(snap->y, c.expectedY) << c.what;
  }
}

TEST_F(SnapIndexTest, PicksTheNearestLineOrArc) {
  struct Case {
    const char* what;
    double x, y, r;
    std::optional<std::uint32_t> entity;
  };
  const Case cases[] = {
      {"first line", 100.1, 70.3, 1, 0u},
      {"second line", 990.1, 4.0, 1, 1u},
      {"arc top", 500.05, 350.2 + 123.456 + 0.5, 1, 2u},
      // The arc's span (0 to 3 radians) leaves out its lower half.
      {"below the arc", 500.05, 350.2 - 123.456, 1, std::nullopt},
      {"far off", -500, -500, 10, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(index_.pick(c.x, c.y, c.r), c.entity) << c.what;
}

// Coordinates at the ends of the doubles' range make no cell counts or
// indexes that overflow, and queries still answer.
TEST(SnapIndexRangeTest, HugeAndNonFiniteCoordinatesAreHandled) {
  cad::Database database;
  database.emplace<AcDbLine>(AcGePoint3d(-1e308, -1e308, 0), AcGePoint3d(1e308, 1e308, 0));
  database.emplace<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
  database.emplace<AcDbLine>(AcGePoint3d(std::nan(""), 0, 0), AcGePoint3d(5, 5, 0));
  const web::DrawingData data = web::DrawingData::read(database);
  const web::SnapIndex index(data);
  const auto snap = index.snap(10.5, 0.5, 1);
  ASSERT_TRUE(snap);
  EXPECT_EQ(snap->x, 10.0);
  EXPECT_EQ(index.pick(std::nan(""), 0, 1), std::nullopt);
  EXPECT_EQ(index.snap(0, 0, -1), std::nullopt);
}

// The index finds what a scan of every entity finds.
TEST(SnapIndexScanTest, PickAgreesWithAScanOnARandomDrawing) {
  cad::Database database;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-1000, 1000), length(-50, 50);
  for (int i = 0; i < 2000; ++i) {
    const double x = coordinate(random), y = coordinate(random);
    if (i % 10 == 0)
      database.emplace<AcDbArc>(AcGePoint3d(x, y, 0), std::abs(length(random)) + 1, 1.0, 4.0);
    else
      database.emplace<AcDbLine>(AcGePoint3d(x, y, 0),
                                 AcGePoint3d(x + length(random), y + length(random), 0));
  }
  // And a line across everything, entered by its samples.
  database.emplace<AcDbLine>(AcGePoint3d(-1000, -1000, 0), AcGePoint3d(1000, 1000, 0));
  const web::DrawingData data = web::DrawingData::read(database);
  const web::SnapIndex index(data);
  int found = 0;
  for (int probe = 0; probe < 500; ++probe) {
    const double x = coordinate(random), y = coordinate(random), r = 3;
    double best = r;
    std::optional<std::uint32_t> scanned;
    for (std::uint32_t e = 0; e < data.entities.size(); ++e)
      if (const double d = index.distance(e, x, y); d <= best) {
        best = d;
        scanned = e;
      }
    const auto picked = index.pick(x, y, r);
    ASSERT_EQ(picked.has_value(), scanned.has_value()) << x << "," << y;
    if (picked) {
      EXPECT_EQ(index.distance(*picked, x, y), best);
    }
    found += picked ? 1 : 0;
  }
  EXPECT_GT(found, 10);
}

}  // namespace
