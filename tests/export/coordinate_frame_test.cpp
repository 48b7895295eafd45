#include "export/coordinate_frame.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "export/axis_file.h"
#include "export/export_dialog.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

void addLine(AxisSet& set, double x1, double y1, double x2, double y2) {
  auto axis = std::make_unique<Axis>();
  axis->kind = AxisKind::Straight;
  axis->points.add(AxisPoint{x1, y1, 0.0, 0.0});
  axis->points.add(AxisPoint{x2, y2, 0.0, 0.0});
  set.append(std::move(axis));
}

TEST(CoordinateFrame, ParameterFileValuesComeBackAndTheDrawingStartsInTheProjectsUnit) {
  const ProjectParameters cases[] = {
      {-2500, -4500, 0, 0, 3, 1},
      {-4.5, -4.5, 1.25, 2.5, 0, 1},
      {-200, -100, 1000, 500, 2, 100},
  };
  for (const ProjectParameters& parameters : cases) {
    const CoordinateFrame frame = frameOfProject(parameters, 7, 8);
    EXPECT_EQ(projectParametersOf(frame), parameters) << parameters.originX;
    EXPECT_EQ(frame.unit, parameters.unitIndex);
    EXPECT_EQ(frame.scale, parameters.scale);
    EXPECT_EQ(frame.baseX, 7);
    EXPECT_EQ(frame.baseY, 8);
  }
}

TEST(CoordinateFrame, EveryValueReachesItsOwnFieldOfTheAxisSet) {
  CoordinateFrame frame;
  frame.originX = 1;
  frame.originY = 2;
  frame.referenceX = 3;
  frame.referenceY = 4;
  frame.projectUnit = 0;
  frame.projectScale = 6;
  frame.baseX = 7;
  frame.baseY = 8;
  frame.unit = 2;
  frame.scale = 10;
  AxisSet axes;
  applyToAxes(frame, axes);
  EXPECT_EQ(axes.originX, 1);
  EXPECT_EQ(axes.originY, 2);
  EXPECT_EQ(axes.referenceX, 3);
  EXPECT_EQ(axes.referenceY, 4);
  EXPECT_EQ(axes.intrinsicUnitExponent, 0);
  EXPECT_EQ(axes.IntrinsicScale, 6);
  EXPECT_EQ(axes.baseX, 7);
  EXPECT_EQ(axes.baseY, 8);
  EXPECT_EQ(axes.unitExponent, 2);
  EXPECT_EQ(axes.iScale, 10);
}

// The picked base point lands on the reference point whatever the two units:
// a project set up in metres, this drawing in millimetres.
TEST(CoordinateFrame, ConvertsThroughTheAxisSetInBothUnits) {
  struct Case {
    const char* label;
    ProjectParameters project;
    int unit;
    double scale;
    double baseX, baseY;
    const char* record;
  } cases[] = {
      {"millimetres at 100:1",
       {-200, -100, 0, 0, 3, 100},
       3,
       100,
       1000,
       500,
       " 26.000000,13.000000,20.000000,10.000000,0,0\r\n"},
      {"metre project, millimetre drawing",
       {-4.5, -4.5, 0, 0, 0, 1},
       3,
       1,
       1000,
       500,
       " 4.560000,4.530000,4.500000,4.500000,0,0\r\n"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    AxisSet axes;
    addLine(axes, 1000, 500, 1060, 530);
    CoordinateFrame frame = frameOfProject(c.project, c.baseX, c.baseY);
    frame.unit = c.unit;
    frame.scale = c.scale;
    applyToAxes(frame, axes);
    const std::string path = folder.file("a.N1");
    ASSERT_TRUE(writeAxisFile(axes, path, hostFileSystem()).written()) << c.label;
    EXPECT_NE(fileBytes(path).find(c.record), std::string::npos) << c.label << "\n"
                                                                 << fileBytes(path);
  }
}

TEST(CoordinateFrame, RebasingTakesTheDrawingsOriginBaseUnitAndScale) {
  AxisSet axes;
  addLine(axes, 0, 0, 10000, 0);
  addLine(axes, 5000, -3000, 5000, 3000);
  CoordinateFrame frame = frameOfProject({1, 2, 3, 4, 3, 1}, 5000, 0);
  frame.unit = 2;
  frame.scale = 50;
  ASSERT_TRUE(rebaseOnDrawing(frame, axes));
  EXPECT_EQ(projectParametersOf(frame), (ProjectParameters{-2500, -4500, 5000, 0, 2, 50}));

  AxisSet none;
  ASSERT_TRUE(rebaseOnDrawing(frame, none));
  EXPECT_EQ(frame.originX, 5000) << "without axes the base point is the origin";
  EXPECT_EQ(frame.originY, 0);

  AxisSet huge;
  addLine(huge, -1.7e308, 0, 1.7e308, 0);
  const CoordinateFrame before = frame;
  EXPECT_FALSE(rebaseOnDrawing(frame, huge));
  EXPECT_EQ(frame, before) << "nothing changes when the origin overflows";
  frame.baseX = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(rebaseOnDrawing(frame, axes));
}

TEST(CoordinateFrame, TheDialogShowsTheFrameAndGivesBackWhatTheUserConfirms) {
  CoordinateFrame frame = frameOfProject({-2500, -4500, 10, 20, 0, 2}, 7, 8);
  ExportDialog dialog;
  showInDialog(frame, dialog);
  EXPECT_EQ(dialog.originX, -2500);
  EXPECT_EQ(dialog.originY, -4500);
  EXPECT_EQ(dialog.referenceX, 10);
  EXPECT_EQ(dialog.referenceY, 20);
  EXPECT_EQ(dialog.unitIndex, 0);
  EXPECT_EQ(dialog.scale, 2);

  dialog.unitIndex = 3;
  dialog.scale = 100;
  dialog.referenceX = 99;  // not editable in the dialog: never taken back
  takeFromDialog(dialog, frame);
  EXPECT_EQ(frame.unit, 3);
  EXPECT_EQ(frame.scale, 100);
  EXPECT_EQ(frame.referenceX, 10);
  EXPECT_EQ(projectParametersOf(frame), (ProjectParameters{-2500, -4500, 10, 20, 0, 2}))
      << "the project's unit and scale stay the project's";
}

}  // namespace

}  // namespace tavrin
