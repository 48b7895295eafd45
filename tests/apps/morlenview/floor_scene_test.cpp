#include "morlenview/floor_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using morlenview::PlanePoint;
using morlenview::ProjectFloor;

// Floor `number` of a 3 by 3 grid of points 6 m apart, moved by (dx, 0),
// with a line through its first row.
ProjectFloor gridFloor(int number, double dx) {
  ProjectFloor floor;
  floor.number = number;
  floor.fileName = "p.N" + std::to_string(number);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      floor.summary.points.push_back({i * 6.0 + dx, j * 6.0});
      floor.summary.extent.add(floor.summary.points.back());
    }
  floor.lines.push_back({{dx, 0}, {12 + dx, 0}});
  floor.summary.straightSegments = 1;
  return floor;
}

std::vector<PlanePoint> ringsOf(const plot::Scene& scene) {
  std::vector<PlanePoint> rings;
  for (const plot::Mark& mark : scene.marks)
    if (mark.shape == plot::MarkShape::kRing) rings.push_back(mark.at);
  return rings;
}

// With one floor off against the others, only its points are ringed; with
// two floors either may be off, and both are.
TEST(FloorScene, TheOverlayRingsTheOddFloorAlone) {
  morlenview::MorlenProject project;
  project.name = "p";
  std::vector<ProjectFloor> floors = {gridFloor(1, 0), gridFloor(2, 0.1), gridFloor(3, 0)};
  std::vector<ProjectFloor*> shown = {&floors[0], &floors[1], &floors[2]};
  std::vector<const morlenview::AlignmentFloor*> checked;
  for (const ProjectFloor* floor : shown) checked.push_back(&floor->summary);
  const morlenview::AlignmentResult alignment = morlenview::checkAlignment(checked);
  ASSERT_EQ(alignment.oddFloor, std::optional<std::size_t>(1));
  const std::vector<PlanePoint> floor2Points = floors[1].summary.points;

  plot::Scene overlay = morlenview::overlayScene(project, shown, alignment);
  // Each once, though it lies off two floors.
  std::vector<PlanePoint> rings = ringsOf(overlay);
  std::vector<PlanePoint> expected = floor2Points;
  const auto before = [](PlanePoint a, PlanePoint b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  };
  std::sort(rings.begin(), rings.end(), before);
  std::sort(expected.begin(), expected.end(), before);
  EXPECT_EQ(rings, expected);
  ASSERT_EQ(overlay.legend.size(), 1u);
  EXPECT_EQ(overlay.legend[0].text, "9 points of floor 2 1-300 mm off another floor");
  // The scene took the line work; it goes back whole.
  EXPECT_TRUE(floors[0].lines.empty());
  EXPECT_EQ(overlay.layers[1].dots.size(), 9u);
  morlenview::returnLineWork(overlay, shown);
  EXPECT_EQ(floors[1].lines.size(), 1u);
  EXPECT_EQ(floors[1].summary.points, floor2Points);

  std::vector<ProjectFloor*> two = {&floors[0], &floors[1]};
  checked.pop_back();
  const morlenview::AlignmentResult pair = morlenview::checkAlignment(checked);
  plot::Scene pairOverlay = morlenview::overlayScene(project, two, pair);
  EXPECT_EQ(ringsOf(pairOverlay).size(), 18u);
  morlenview::returnLineWork(pairOverlay, two);
}

}  // namespace
