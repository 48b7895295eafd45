#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cad/command_line.h"
#include "host/ac_ge_point.h"
#include "host/ac_ge_point3d_array.h"
#include "host/ads.h"

namespace {

TEST(AdsAngle, MeasuresCounterClockwiseFromXIntoZeroToTwoPi) {
  struct Case {
    const char* label;
    double dx, dy, expected;
  } cases[] = {
      {"east", 1, 0, 0.0},
      {"north", 0, 2, std::numbers::pi / 2},
      {"west", -3, 0, std::numbers::pi},
      {"south", 0, -1, 3 * std::numbers::pi / 2},
      {"south-east", 1, -1, 7 * std::numbers::pi / 4},
      {"just below east", 1, -1e-300, 0.0},
  };
  for (const Case& c : cases) {
    ads_point from = {10, 20, 5};
    ads_point to = {10 + c.dx, 20 + c.dy, -7};
    double angle = ads_angle(from, to);
    EXPECT_NEAR(angle, c.expected, 1e-15) << c.label;
    EXPECT_GE(angle, 0.0) << c.label;
    EXPECT_LT(angle, 2 * std::numbers::pi) << c.label;
  }
}

TEST(AdsPolar, StepsFromThePointInXYAndKeepsZ) {
  ads_point centre = {100, 50, 3};
  ads_point result;
  EXPECT_EQ(ads_polar(centre, std::numbers::pi / 2, 10, result), RTNORM);
  EXPECT_NEAR(result[X], 100, 1e-12);
  EXPECT_DOUBLE_EQ(result[Y], 60);
  EXPECT_DOUBLE_EQ(result[Z], 3);
  // The result may be the input itself.
  ads_polar(centre, 0, 5, centre);
  EXPECT_DOUBLE_EQ(centre[X], 105);
}

TEST(AdsPrintf, FormatsOntoTheCommandLineConvertingCodePage936) {
  cad::commandLine().clear();
  ads_printf("IntrinsicScale:%f\n", 1.0);
  ads_printf("\n\xC8\xA1\xCF\xFB\xD1\xA1\xB5\xE3!");  // 取消选点 in 936
  EXPECT_EQ(cad::commandLine().transcript(), "IntrinsicScale:1.000000\n\n取消选点!");
}

TEST(AcGePoint, DistanceIsEuclidean) {
  EXPECT_DOUBLE_EQ(AcGePoint2d(1, 1).distanceTo(AcGePoint2d(4, 5)), 5.0);
  EXPECT_DOUBLE_EQ(AcGePoint3d(0, 0, 0).distanceTo(AcGePoint3d(2, 3, 6)), 7.0);
}

TEST(AcGePoint3dArray, GrowsByItsGrowLengthAndEmptiesByRemoveSubArray) {
  AcGePoint3dArray points(0, 8);
  EXPECT_EQ(points.length(), 0);
  EXPECT_EQ(points.physicalLength(), 0);
  for (int i = 0; i < 9; ++i) points.append(AcGePoint3d(i, -i, 0));
  EXPECT_EQ(points.length(), 9);
  EXPECT_EQ(points.physicalLength(), 16);
  EXPECT_EQ(points[8], AcGePoint3d(8, -8, 0));

  points.removeSubArray(2, 3);  // inclusive
  ASSERT_EQ(points.length(), 7);
  EXPECT_EQ(points[2], AcGePoint3d(4, -4, 0));

  const int n = points.length();
  points.removeSubArray(0, n);  // one past the end is clamped
  EXPECT_TRUE(points.isEmpty());
  EXPECT_EQ(points.physicalLength(), 16);
}

TEST(AcGePoint3dArray, AppendingAnElementOfItselfWhileGrowingIsSafe) {
  AcGePoint3dArray points(1, 1);
  points.append(AcGePoint3d(1, 2, 3));
  points.append(points[0]);
  EXPECT_EQ(points[1], AcGePoint3d(1, 2, 3));
}

TEST(AcGePoint3dArray, CopiesAreIndependent) {
  AcGePoint3dArray a;
  a.append(AcGePoint3d(1, 0, 0));
  AcGePoint3dArray b = a;
  b[0].x = 5;
  EXPECT_EQ(a[0].x, 1);
  a = b;
  EXPECT_EQ(a[0].x, 5);
}

TEST(AcGePoint3dArray, RemovingOutsideTheArrayRemovesNothing) {
  AcGePoint3dArray points;
  points.append(AcGePoint3d());
  points.removeSubArray(1, 4);
  points.removeSubArray(-1, 0);
  points.removeSubArray(0, -1);
  EXPECT_EQ(points.length(), 1);
}

}  // namespace
