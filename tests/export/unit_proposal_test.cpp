#include "export/unit_proposal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "text/code_page.h"

namespace tavrin {

namespace {

TEST(UnitProposal, TakesADeclaredMetricUnitOnlyForABuildingsSize) {
  struct Case {
    int declared;
    double span;
    int unit;
    bool declaredTaken;
    const char* note;  // UTF-8 part of the note; "" for none
  } cases[] = {
      {6, 1.0, 0, true, ""},                        // 1 m: the smallest
      {6, 2000.0, 0, true, ""},                     // 2 km: the largest
      {6, 0.999, 3, false, "跨度为 0.999 个单位"},  // below: millimetres
      {6, 2001.0, 3, false, "跨度为 2,001 个单位：建议选择毫米"},
      {6, 24000.0, 3, false, "图纸声明单位为米，但所选轴线跨度为 24,000 个单位"},
      {5, 2400.0, 2, true, ""},
      {14, 240.0, 1, true, ""},
      {4, 24000.0, 3, true, ""},
      {4, 24.0, 3, false, "图纸声明单位为毫米，但所选轴线跨度仅 24 个单位"},
      {4, 2000001.0, 3, false, "2,000,001"},
      {1, 945.0, 3, false, "比例尺设为25.4"},
      {2, 80.0, 3, false, "比例尺设为304.8"},
      {7, 2.0, 3, false, "$INSUNITS 7"},
      {0, 24.0, 3, false, ""},
  };
  for (const Case& c : cases) {
    const UnitProposal proposal = proposeUnit(c.declared, c.span);
    const std::string label = std::to_string(c.declared) + " " + std::to_string(c.span);
    EXPECT_EQ(proposal.unitExponent, c.unit) << label;
    EXPECT_EQ(proposal.declared, c.declaredTaken) << label;
    const std::string note = text::cp936ToUtf8(proposal.note).value_or("<not cp936>");
    if (std::string(c.note).empty())
      EXPECT_EQ(note, "") << label;
    else
      EXPECT_NE(note.find(c.note), std::string::npos) << label << ": " << note;
  }
}

TEST(UnitProposal, ToleranceIsThreeTenthsOfAMillimetreAndExactlyPointThreeInMillimetres) {
  const double expected[] = {0.0003, 0.003, 0.03, 0.3};
  for (int unit = 0; unit <= 3; ++unit) {
    UnitProposal proposal;
    proposal.unitExponent = unit;
    EXPECT_EQ(proposal.pointTolerance(), expected[unit]) << unit;
  }
}

void addLine(AxisSet& set, double x1, double y1, double x2, double y2) {
  auto axis = std::make_unique<Axis>();
  axis->points.add(AxisPoint{x1, y1, 0.0, 0.0});
  axis->points.add(AxisPoint{x2, y2, 0.0, 0.0});
  set.append(std::move(axis));
}

TEST(UnitProposal, SpanIsTheLargerSideOfTheAxesExtent) {
  AxisSet axes;
  EXPECT_EQ(axesSpan(axes), 0.0);
  addLine(axes, -5, 1, 5, 1);
  EXPECT_EQ(axesSpan(axes), 10.0);
  addLine(axes, 0, -30, 0, -8);
  EXPECT_EQ(axesSpan(axes), 31.0);
}

}  // namespace

}  // namespace tavrin
