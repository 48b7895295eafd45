#include "export/axis_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cad/command_line.h"
#include "formats/axis_file_reader.h"
#include "formats/power_of_ten.h"
#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

struct Pt {
  double x, y, angle = 0.0;
};

Axis* addAxis(AxisSet& set, AxisKind kind, const std::vector<Pt>& points,
              AcGePoint3d centre = AcGePoint3d()) {
  auto axis = std::make_unique<Axis>();
  axis->kind = kind;
  axis->centre = centre;
  for (const Pt& p : points) axis->points.add(AxisPoint{p.x, p.y, 0.0, p.angle});
  Axis* raw = axis.get();
  set.append(std::move(axis));
  return raw;
}

// X = x, Y = y.
void makeNeutral(AxisSet& set) {
  set.originX = set.originY = 0;
  set.baseX = set.baseY = 0;
  set.referenceX = set.referenceY = 0;
  set.iScale = set.IntrinsicScale = 1;
  set.unitExponent = set.intrinsicUnitExponent = 0;
}

class AxisFileTest : public ::testing::Test {
 protected:
  void SetUp() override { cad::commandLine().clear(); }

  WriteResult write(AxisSet& set, const std::string& name = "floor.N1") {
    return writeAxisFile(set, folder_.file(name), files_);
  }
  std::string written(const std::string& name = "floor.N1") const {
    return fileBytes(folder_.file(name));
  }

  TempFolder folder_;
  FaultInjectingFileSystem files_;
};

TEST(PowerOfTen, IsExpOfNTimesLnTen) {
  EXPECT_EQ(powerOfTen(0), 1.0);
  for (int n = -3; n <= 3; ++n) {
    EXPECT_EQ(powerOfTen(n), std::exp(n * 2.302585092994046)) << n;
    EXPECT_NEAR(powerOfTen(n), std::pow(10.0, n), std::pow(10.0, n) * 1e-15) << n;
  }
}

TEST_F(AxisFileTest, NeutralExampleWithALineAndAnArc) {
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Straight, {{1, 2}, {4, 2}, {6, 2}});
  addAxis(set, AxisKind::Arc, {{5, 0, 0.0}, {0, 5, 1.5707963267948966}}, AcGePoint3d(0, 0, 0));
  const WriteResult result = write(set);
  EXPECT_EQ(result.outcome, WriteOutcome::kWritten);
  EXPECT_EQ(written(),
            "0\r\nGraph Link\r\n3\r\n"
            "9,0\r\n 4.000000,2.000000,1.000000,2.000000,0,0\r\n"
            "9,0\r\n 6.000000,2.000000,4.000000,2.000000,0,0\r\n"
            "14,0\r\n 0.000000,0.000000,5.000000,0.000000,90.000002,0,0\r\n");
  EXPECT_EQ(set.lineCount, 2);
  EXPECT_EQ(set.arcCount, 1);
  EXPECT_EQ(cad::commandLine().transcript(),
            "IntrinsicScale:1.000000\niScale:1.000000\nIntrinsicScale:1.000000\niScale:1.000000\n");
}

TEST_F(AxisFileTest, HouseExampleInMillimetres) {
  AxisSet set;
  addAxis(set, AxisKind::Straight, {{0, 0}, {5000, 0}, {10000, 0}});
  addAxis(set, AxisKind::Straight, {{5000, -3000}, {5000, 0}, {5000, 3000}});
  double originX = 1, originY = 1;
  defaultOrigin(set, originX, originY);
  EXPECT_EQ(originX, -2500.0);
  EXPECT_EQ(originY, -4500.0);
  set.originX = originX;
  set.originY = originY;
  set.baseX = set.baseY = 0;
  set.referenceX = set.referenceY = 0;
  set.unitExponent = set.intrinsicUnitExponent = 3;
  set.iScale = set.IntrinsicScale = 1;

  ASSERT_TRUE(write(set, "house.N1").written());
  EXPECT_EQ(written("house.N1"),
            "0\r\nGraph Link\r\n4\r\n"
            "9,0\r\n 7.500000,4.500000,2.500000,4.500000,0,0\r\n"
            "9,0\r\n 12.500000,4.500000,7.500000,4.500000,0,0\r\n"
            "9,0\r\n 7.500000,4.500000,7.500000,1.500000,0,0\r\n"
            "9,0\r\n 7.500000,7.500000,7.500000,4.500000,0,0\r\n");
  EXPECT_EQ(set.lineCount, 4);
  EXPECT_EQ(set.arcCount, 0);
}

TEST_F(AxisFileTest, ConvertsWithScaleUnitBaseReferenceAndOrigin) {
  AxisSet set;
  set.unitExponent = 3;
  set.iScale = 100;
  set.intrinsicUnitExponent = 3;
  set.IntrinsicScale = 100;
  set.baseX = 1000;
  set.baseY = 500;
  set.referenceX = set.referenceY = 0;
  set.originX = -200;
  set.originY = -100;
  addAxis(set, AxisKind::Straight, {{1000, 500}, {1060, 530}});
  std::string text;
  ASSERT_TRUE(appendAxisRecords(set, text, *set.head()));
  EXPECT_EQ(text, "9,0\n 26.000000,13.000000,20.000000,10.000000,0,0\n");
  EXPECT_EQ(set.lineCount, 1);
}

TEST_F(AxisFileTest, CoordinateLimitIsOneSidedAndRefusesNonFiniteValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* label;
    double x;
    bool accepted;
  } cases[] = {
      {"exactly the limit", 1000.0, true}, {"just above", 1000.000001, false},
      {"large negative", -2000.0, true},   {"very large negative", -5000.0, true},
      {"not a number", nan, false},        {"infinity", inf, false},
      {"negative infinity", -inf, false},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    AxisSet set;
    makeNeutral(set);
    addAxis(set, AxisKind::Straight, {{0, 0}, {c.x, 0}});
    const WriteResult result = writeAxisFile(set, folder.file("f.N2"), files_);
    EXPECT_EQ(result.outcome, c.accepted ? WriteOutcome::kWritten : WriteOutcome::kTooLarge)
        << c.label;
    EXPECT_EQ(folder.entries().size(), c.accepted ? 1u : 0u) << c.label;
  }
}

TEST_F(AxisFileTest, ArcRadiusOverTheLimitIsRefusedWithTheCentreInside) {
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Arc, {{1001, 0, 0.0}, {0, 1001, 1.5707963267948966}},
          AcGePoint3d(0, 0, 0));
  EXPECT_EQ(write(set).outcome, WriteOutcome::kTooLarge);
  EXPECT_EQ(set.arcCount, 0);
  EXPECT_TRUE(folder_.entries().empty());
}

TEST_F(AxisFileTest, ArcRecordsShareCentreAndRadiusAndMayCrossDirectionZero) {
  AxisSet set;
  makeNeutral(set);
  set.iScale = 2;  // lengths double; the centre moves with the same rule
  const double a0 = 355.0 / 57.295780490442965, a1 = 5.0 / 57.295780490442965;
  addAxis(set, AxisKind::Arc, {{13, 4, a0}, {0, 3, 0.0}, {3, 0, a1}}, AcGePoint3d(10, 4, 0));
  std::string text;
  ASSERT_TRUE(appendAxisRecords(set, text, *set.head()));
  EXPECT_EQ(text,
            "14,0\n 20.000000,8.000000,6.000000,355.000000,0.000000,0,0\n"
            "14,0\n 20.000000,8.000000,6.000000,0.000000,5.000000,0,0\n");
  EXPECT_EQ(set.arcCount, 2);
}

TEST_F(AxisFileTest, RefusalAtTheThirdSegmentLeavesNoFile) {
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Straight, {{0, 0}, {400, 0}, {800, 0}, {1200, 0}});
  std::string text;
  EXPECT_FALSE(appendAxisRecords(set, text, *set.head()));
  EXPECT_EQ(text,
            "9,0\n 400.000000,0.000000,0.000000,0.000000,0,0\n"
            "9,0\n 800.000000,0.000000,400.000000,0.000000,0,0\n");

  const WriteResult result = write(set);
  EXPECT_EQ(result.outcome, WriteOutcome::kTooLarge);
  EXPECT_EQ(set.lineCount, 2);
  EXPECT_TRUE(folder_.entries().empty());
  EXPECT_TRUE(files_.created.empty());
}

TEST_F(AxisFileTest, RefusalLeavesAnExistingFileUntouched) {
  putFileBytes(folder_.file("floor.N1"), "previous floor\r\n");
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Straight, {{0, 0}, {1, 0}});
  addAxis(set, AxisKind::Straight, {{0, 0}, {2000, 0}});
  EXPECT_EQ(write(set).outcome, WriteOutcome::kTooLarge);
  EXPECT_EQ(written(), "previous floor\r\n");
  // The refused axis printed its trace lines; none after it was converted.
  EXPECT_EQ(cad::commandLine().transcript(),
            "IntrinsicScale:1.000000\niScale:1.000000\nIntrinsicScale:1.000000\niScale:1.000000\n");
}

TEST_F(AxisFileTest, OnePointAxisAndEmptySet) {
  AxisSet empty;
  makeNeutral(empty);
  ASSERT_TRUE(write(empty, "empty.N1").written());
  EXPECT_EQ(written("empty.N1"), "0\r\nGraph Link\r\n0\r\n");
  EXPECT_EQ(cad::commandLine().transcript(), "");

  AxisSet single;
  makeNeutral(single);
  single.iScale = 50;
  addAxis(single, AxisKind::Straight, {{1, 1}});
  addAxis(single, AxisKind::Arc, {{1, 0}}, AcGePoint3d(0, 0, 0));
  ASSERT_TRUE(write(single, "single.N1").written());
  EXPECT_EQ(written("single.N1"), "0\r\nGraph Link\r\n0\r\n");
  EXPECT_EQ(
      cad::commandLine().transcript(),
      "IntrinsicScale:1.000000\niScale:50.000000\nIntrinsicScale:1.000000\niScale:50.000000\n");
}

TEST_F(AxisFileTest, CountersStartAfreshOnEveryWrite) {
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Straight, {{0, 0}, {1, 0}, {2, 0}});
  ASSERT_TRUE(write(set).written());
  ASSERT_TRUE(write(set).written());
  EXPECT_EQ(set.lineCount, 2);
  EXPECT_EQ(set.arcCount, 0);
}

TEST_F(AxisFileTest, ReplacesAnExistingAxisFileWhole) {
  putFileBytes(folder_.file("floor.N1"), std::string(10000, 'x'));
  AxisSet set;
  makeNeutral(set);
  ASSERT_TRUE(write(set).written());
  EXPECT_EQ(written(), "0\r\nGraph Link\r\n0\r\n");
}

TEST_F(AxisFileTest, WriteFailureIsReportedApartFromTheLimitAndKeepsTheOldFile) {
  putFileBytes(folder_.file("floor.N1"), "old\r\n");
  AxisSet set;
  makeNeutral(set);
  addAxis(set, AxisKind::Straight, {{0, 0}, {1, 0}});
  files_.failAppendNumber = 1;
  const WriteResult full = write(set);
  EXPECT_EQ(full.outcome, WriteOutcome::kWriteFailed);
  EXPECT_EQ(full.file, folder_.file("floor.N1"));
  EXPECT_NE(full.status.message().find("No space left"), std::string::npos)
      << full.status.message();
  EXPECT_EQ(written(), "old\r\n");
  EXPECT_EQ(folder_.entries(), std::vector<std::string>{"floor.N1"});

  const WriteResult missing = writeAxisFile(set, folder_.file("gone/floor.N1"), files_);
  EXPECT_EQ(missing.outcome, WriteOutcome::kWriteFailed);
}

// A generated grid of straight axes and concentric arcs through the writer
// and back: the same segments in the same order, in metres.
TEST_F(AxisFileTest, AGeneratedGridReadsBackAsTheSameSegmentsInMetres) {
  AxisSet set;
  set.originX = -1000;
  set.originY = -2000;
  set.unitExponent = set.intrinsicUnitExponent = 3;
  set.iScale = set.IntrinsicScale = 1;
  constexpr int kAxes = 40;
  for (int i = 0; i < kAxes; ++i) {
    std::vector<Pt> along, across;
    for (int j = 0; j < kAxes; ++j) {
      along.push_back({i * 6000.0, j * 6000.0});
      across.push_back({j * 6000.0, i * 6000.0});
    }
    addAxis(set, AxisKind::Straight, along);
    addAxis(set, AxisKind::Straight, across);
  }
  for (int r = 1; r <= 5; ++r) {
    std::vector<Pt> points;
    for (double a : {5.9, 6.1, 0.2, 1.0}) {  // through direction 0
      points.push_back({300000 + r * 4000 * std::cos(a), 100000 + r * 4000 * std::sin(a), a});
    }
    addAxis(set, AxisKind::Arc, points, AcGePoint3d(300000, 100000, 0));
  }
  const std::string path = folder_.file("grid.N3");
  ASSERT_TRUE(writeAxisFile(set, path, files_).written());

  std::vector<AxisFileSegment> segments;
  const FileStatus status = readAxisFile(path, files_, &segments);
  ASSERT_TRUE(status.isOk()) << status.message();
  ASSERT_EQ(segments.size(), static_cast<std::size_t>(set.lineCount + set.arcCount));
  // The first axis: x = 0 converts to 1 m, its k-th segment runs from
  // y = 2 + 6k to 2 + 6(k + 1) metres.
  EXPECT_EQ(segments[1], (AxisFileSegment{AxisFileSegment::Kind::kStraight, 1.0, 8.0, 1.0, 14.0}));
  const AxisFileSegment& arc = segments[segments.size() - 3];
  EXPECT_EQ(arc.kind, AxisFileSegment::Kind::kArc);
  EXPECT_DOUBLE_EQ(arc.centreX, 301.0);
  EXPECT_DOUBLE_EQ(arc.centreY, 102.0);
  EXPECT_NEAR(arc.radius, 20.0, 1e-6);
  EXPECT_NEAR(arc.startDegrees, 5.9 * kDegreesPerRadian, 1e-6);
  EXPECT_NEAR(arc.endDegrees, 6.1 * kDegreesPerRadian, 1e-6);
}

TEST(DefaultOrigin, LiesAQuarterOfTheExtentBelowTheLowerLeftCorner) {
  struct Case {
    const char* label;
    std::vector<std::vector<Pt>> axes;
    double x, y;
  } cases[] = {
      {"extent 10000 by 6000", {{{0, 0}, {10000, 0}}, {{0, 6000}, {5000, 3000}}}, -2500, -1500},
      {"all points coincide", {{{7, -3}, {7, -3}}, {{7, -3}}}, 7, -3},
      {"negative corner", {{{-100, -40}, {300, 0}}}, -200, -50},
  };
  for (const Case& c : cases) {
    AxisSet set;
    for (const auto& points : c.axes) addAxis(set, AxisKind::Straight, points);
    double x = 0, y = 0;
    defaultOrigin(set, x, y);
    EXPECT_EQ(x, c.x) << c.label;
    EXPECT_EQ(y, c.y) << c.label;
  }
}

TEST(DefaultOrigin, UsesPointsOnlyAndLeavesOutputsAloneForAnEmptySet) {
  AxisSet empty;
  double x = 11, y = 12;
  defaultOrigin(empty, x, y);
  EXPECT_EQ(x, 11.0);
  EXPECT_EQ(y, 12.0);

  AxisSet arcs;
  addAxis(arcs, AxisKind::Arc, {{10, 0, 0.0}, {0, 10, 1.5}}, AcGePoint3d(-500, -500, 0));
  defaultOrigin(arcs, x, y);
  EXPECT_EQ(x, -2.5);
  EXPECT_EQ(y, -2.5);
}

}  // namespace

}  // namespace tavrin
