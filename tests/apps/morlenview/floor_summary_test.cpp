#include "morlenview/floor_summary.h"

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "formats/axis_file_records.h"

namespace {

using tavrin::AxisFileSegment;
using tavrin::kDegreesPerRadian;

using Kind = AxisFileSegment::Kind;

AxisFileSegment straight(double x1, double y1, double x2, double y2) {
  return AxisFileSegment{Kind::kStraight, x1, y1, x2, y2};
}

// An arc about (cx, cy) of radius r between two angles, in degrees as the
// file holds them (the writer's degree factor).
AxisFileSegment arc(double cx, double cy, double r, double startRadians, double endRadians) {
  return AxisFileSegment{Kind::kArc,
                         0,
                         0,
                         0,
                         0,
                         cx,
                         cy,
                         r,
                         startRadians * kDegreesPerRadian,
                         endRadians * kDegreesPerRadian};
}

TEST(FloorSummary, CountsSegmentsDistinctPointsAndTheExtent) {
  // An axis of two segments, a crossing axis, and an arc about (0, 0) of
  // radius 10 whose ends meet two straight segments' ends; the arc passes
  // direction 0 and so bulges out to x = 10.
  const std::vector<AxisFileSegment> segments = {
      straight(0, 0, 5, 0),
      // Ends within a micrometre of the arc's end: the same point.
      straight(5, 0, 10 * std::cos(0.3), 10 * std::sin(0.3) + 0.0000004),
      straight(5, -3, 5, 3),
      arc(0, 0, 10, 5.8, 0.3),
      straight(10 * std::cos(5.8), 10 * std::sin(5.8), 10 * std::cos(5.8), -9),
  };
  const auto summary = morlenview::summarizeFloor(segments);
  EXPECT_EQ(summary.straightSegments, 4u);
  EXPECT_EQ(summary.arcSegments, 1u);
  // (0,0), (5,0), the arc's end, (5,-3), (5,3), the arc's start, and the
  // point below it at y = -9. The arc's bulge reaches x = 10, not a point.
  EXPECT_EQ(summary.points.size(), 7u);
  EXPECT_DOUBLE_EQ(summary.extent.minX, 0.0);
  EXPECT_NEAR(summary.extent.maxX, 10.0, 1e-6);
  EXPECT_DOUBLE_EQ(summary.extent.minY, -9.0);
  EXPECT_DOUBLE_EQ(summary.extent.maxY, 3.0);
}

TEST(FloorSummary, ArcPointsComeBackWhereTheyWereExported) {
  const AxisFileSegment a = arc(2, 3, 4, 1.5707963267948966, 3.0);
  const auto start = morlenview::arcPointAt(a, a.startDegrees);
  EXPECT_NEAR(start.x, 2.0, 1e-12);
  EXPECT_NEAR(start.y, 7.0, 1e-12);
  const auto end = morlenview::arcPointAt(a, a.endDegrees);
  EXPECT_NEAR(end.x, 2 + 4 * std::cos(3.0), 1e-12);
  EXPECT_NEAR(end.y, 3 + 4 * std::sin(3.0), 1e-12);
}

}  // namespace
