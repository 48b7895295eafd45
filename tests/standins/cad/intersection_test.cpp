#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

namespace {

constexpr double kPi = std::numbers::pi;

double rad(double degrees) {
  return degrees * kPi / 180.0;
}

std::unique_ptr<AcDbEntity> line(double x1, double y1, double x2, double y2, double z = 0) {
  return std::make_unique<AcDbLine>(AcGePoint3d(x1, y1, z), AcGePoint3d(x2, y2, z));
}

std::unique_ptr<AcDbEntity> arc(double cx, double cy, double r, double fromDegrees,
                                double toDegrees) {
  return std::make_unique<AcDbArc>(AcGePoint3d(cx, cy, 7), r, rad(fromDegrees), rad(toDegrees));
}

struct Case {
  const char* label;
  std::unique_ptr<AcDbEntity> self;
  std::unique_ptr<AcDbEntity> other;
  std::vector<AcGePoint2d> expected;  // in this order
};

void check(const Case& c) {
  AcGePoint3dArray points(0, 8);
  points.append(AcGePoint3d(-1, -1, -1));  // results are appended, not replacing
  ASSERT_EQ(c.self->intersectWith(c.other.get(), AcDb::kOnBothOperands, points, 0, 0), Acad::eOk)
      << c.label;
  ASSERT_EQ(points.length(), static_cast<int>(c.expected.size()) + 1) << c.label;
  for (std::size_t i = 0; i < c.expected.size(); ++i) {
    const AcGePoint3d& p = points[static_cast<int>(i) + 1];
    EXPECT_NEAR(p.x, c.expected[i].x, 1e-9) << c.label << " point " << i;
    EXPECT_NEAR(p.y, c.expected[i].y, 1e-9) << c.label << " point " << i;
    EXPECT_EQ(p.z, 0.0) << c.label << " point " << i;
  }
}

TEST(IntersectWith, LineWithLine) {
  Case cases[] = {
      {"crossing", line(0, 0, 10000, 0), line(5000, -3000, 5000, 3000), {{5000, 0}}},
      {"crossing at z", line(0, 0, 10, 10, 5), line(0, 10, 10, 0, -3), {{5, 5}}},
      {"ends on the other", line(0, 0, 10, 0), line(4, 0, 4, 6), {{4, 0}}},
      {"meet at end points", line(0, 0, 10, 0), line(10, 0, 10, 5), {{10, 0}}},
      {"would cross if extended", line(0, 0, 10, 0), line(12, -1, 12, 1), {}},
      {"other too short", line(0, 0, 10, 0), line(5, 1, 5, 3), {}},
      {"parallel", line(0, 0, 10, 0), line(0, 1, 10, 1), {}},
      {"collinear overlapping", line(0, 0, 10, 0), line(5, 0, 15, 0), {}},
      {"collinear touching", line(0, 0, 10, 0), line(10, 0, 20, 0), {}},
      {"zero length", line(0, 0, 10, 0), line(3, 0, 3, 0), {}},
      {"large coordinates",
       line(512345.678, 3000000, 522345.678, 3000000),
       line(517345.678, 2990000, 517345.678, 3010000),
       {{517345.678, 3000000}}},
  };
  for (const Case& c : cases) check(c);
}

TEST(IntersectWith, LineWithArcAndArcWithLine) {
  Case cases[] = {
      // Circle of radius 5 about the origin; the line y = 3 meets it at x = -4 and 4.
      {"through circle, both inside span",
       line(-10, 3, 10, 3),
       arc(0, 0, 5, 0, 180),
       {{-4, 3}, {4, 3}}},
      {"ordered along the line", line(10, 3, -10, 3), arc(0, 0, 5, 0, 180), {{4, 3}, {-4, 3}}},
      {"once inside the span", line(-10, 3, 10, 3), arc(0, 0, 5, 0, 90), {{4, 3}}},
      {"outside the span", line(-10, 3, 10, 3), arc(0, 0, 5, 180, 360), {}},
      {"segment stops inside circle", line(0, 3, 10, 3), arc(0, 0, 5, 0, 180), {{4, 3}}},
      {"tangent", line(-10, 5, 10, 5), arc(0, 0, 5, 0, 180), {{0, 5}}},
      {"missing", line(-10, 6, 10, 6), arc(0, 0, 5, 0, 180), {}},
      {"span through 0 degrees", line(4, -10, 4, 10), arc(0, 0, 5, 300, 60), {{4, -3}, {4, 3}}},
      {"span through 0, one side", line(-4, -10, -4, 10), arc(0, 0, 5, 300, 60), {}},
      {"at the arc's end point", line(0, -10, 0, 10), arc(0, 0, 5, 0, 90), {{0, 5}}},
      // The arc orders its points counter-clockwise from its start angle.
      {"arc first, from its start", arc(0, 0, 5, 0, 180), line(-10, 3, 10, 3), {{4, 3}, {-4, 3}}},
      {"arc through 0, from its start",
       arc(0, 0, 5, 300, 60),
       line(4, 10, 4, -10),
       {{4, -3}, {4, 3}}},
  };
  for (const Case& c : cases) check(c);
}

TEST(IntersectWith, ArcWithArc) {
  Case cases[] = {
      // Radius 5 about (0,0) and (8,0) meet at (4, 3) and (4, -3).
      {"crossing twice", arc(0, 0, 5, 270, 90), arc(8, 0, 5, 90, 270), {{4, -3}, {4, 3}}},
      {"crossing twice, other side first",
       arc(8, 0, 5, 90, 270),
       arc(0, 0, 5, 270, 90),
       {{4, 3}, {4, -3}}},
      {"only the upper crossing in span", arc(0, 0, 5, 0, 90), arc(8, 0, 5, 90, 270), {{4, 3}}},
      {"tangent outside", arc(0, 0, 5, 270, 90), arc(10, 0, 5, 90, 270), {{5, 0}}},
      {"tangent inside", arc(0, 0, 5, 270, 90), arc(2, 0, 3, 270, 90), {{5, 0}}},
      {"apart", arc(0, 0, 5, 0, 360), arc(20, 0, 5, 0, 360), {}},
      {"nested", arc(0, 0, 5, 0, 360), arc(1, 0, 1, 0, 360), {}},
      {"concentric", arc(0, 0, 5, 0, 90), arc(0, 0, 5, 45, 135), {}},
      {"spans miss", arc(0, 0, 5, 100, 260), arc(8, 0, 5, 90, 270), {}},
  };
  for (const Case& c : cases) check(c);
}

TEST(IntersectWith, RefusesOtherPairsAndTypes) {
  auto l = line(0, 0, 10, 0);
  auto a = arc(0, 0, 5, 0, 180);
  AcDbCircle circle;
  circle.radius = 3;
  AcDbText text;
  AcGePoint3dArray points;
  EXPECT_EQ(l->intersectWith(&circle, AcDb::kOnBothOperands, points), Acad::eNotImplemented);
  EXPECT_EQ(circle.intersectWith(l.get(), AcDb::kOnBothOperands, points), Acad::eNotImplemented);
  EXPECT_EQ(a->intersectWith(&text, AcDb::kOnBothOperands, points), Acad::eNotImplemented);
  EXPECT_EQ(l->intersectWith(a.get(), AcDb::kExtendBoth, points), Acad::eInvalidInput);
  EXPECT_EQ(l->intersectWith(nullptr, AcDb::kOnBothOperands, points), Acad::eInvalidInput);
  EXPECT_TRUE(points.isEmpty());
}

}  // namespace
