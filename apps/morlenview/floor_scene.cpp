#include "morlenview/floor_scene.h"

#include <algorithm>
#include <string>
#include <utility>

#include "text/format.h"

namespace morlenview {
namespace {

constexpr plot::Colour kOriginColour{0.0, 0.45, 0.0};
constexpr plot::Colour kReferenceColour{0.75, 0.0, 0.75};
constexpr plot::Colour kNearMissColour{0.9, 0.0, 0.0};

std::string metres(double value) {
  return text::numberText(value, 3);
}

plot::Layer floorLayer(ProjectFloor& floor, plot::Colour colour) {
  plot::Layer layer;
  layer.colour = colour;
  const FloorSummary& summary = floor.summary;
  layer.name = "floor " + std::to_string(floor.number) + " (" + floor.fileName +
               "): " + std::to_string(summary.straightSegments + summary.arcSegments) + " segments";
  layer.lines = std::move(floor.lines);
  layer.arcs = std::move(floor.arcs);
  layer.dots = std::move(floor.summary.points);
  return layer;
}

void addProjectMarks(const MorlenProject& project, plot::Scene& scene) {
  scene.marks.push_back(
      plot::Mark{{0.0, 0.0}, plot::MarkShape::kCross, kOriginColour, "origin (0, 0)"});
  if (project.parameters.isOk()) {
    const PlanePoint reference = referencePointInMetres(*project.parameters);
    scene.marks.push_back(
        plot::Mark{{reference.x, reference.y},
                   plot::MarkShape::kDiamond,
                   kReferenceColour,
                   "reference (" + metres(reference.x) + ", " + metres(reference.y) + ")"});
  }
}

}  // namespace

plot::Colour floorColour(std::size_t k) {
  static constexpr plot::Colour kColours[] = {
      {0.00, 0.30, 0.80}, {0.85, 0.45, 0.00}, {0.00, 0.60, 0.55}, {0.55, 0.25, 0.70},
      {0.45, 0.45, 0.45}, {0.70, 0.55, 0.00}, {0.10, 0.10, 0.10}, {0.60, 0.30, 0.20},
  };
  return kColours[k % (sizeof kColours / sizeof kColours[0])];
}

plot::Scene floorScene(const MorlenProject& project, ProjectFloor& floor) {
  plot::Scene scene;
  scene.title =
      project.name + " floor " + std::to_string(floor.number) + " (" + floor.fileName + "), metres";
  scene.layers.push_back(floorLayer(floor, floorColour(0)));
  addProjectMarks(project, scene);
  return scene;
}

plot::Scene overlayScene(const MorlenProject& project, const std::vector<ProjectFloor*>& floors,
                         const AlignmentResult& alignment) {
  plot::Scene scene;
  scene.title = project.name + ": " + std::to_string(floors.size()) +
                (floors.size() == 1 ? " floor" : " floors") + " over each other, metres";
  for (std::size_t k = 0; k < floors.size(); ++k)
    scene.layers.push_back(floorLayer(*floors[k], floorColour(k)));
  // A point off several floors is ringed once.
  std::vector<PlanePoint> rings;
  for (const NearMiss& miss : alignment.nearMisses)
    if (!alignment.oddFloor || miss.floor == *alignment.oddFloor) rings.push_back(miss.at);
  const auto before = [](const PlanePoint& a, const PlanePoint& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  };
  std::sort(rings.begin(), rings.end(), before);
  rings.erase(std::unique(rings.begin(), rings.end()), rings.end());
  for (const PlanePoint& at : rings)
    scene.marks.push_back(plot::Mark{at, plot::MarkShape::kRing, kNearMissColour, ""});
  const std::size_t ringed = rings.size();
  // The origin and the reference point over the rings.
  addProjectMarks(project, scene);
  if (ringed > 0) {
    const std::string whose =
        alignment.oddFloor ? " of floor " + std::to_string(floors[*alignment.oddFloor]->number)
                           : "";
    scene.legend.push_back(plot::LegendEntry{
        plot::MarkShape::kRing, kNearMissColour,
        std::to_string(ringed) + " points" + whose + " 1-300 mm off another floor"});
  }
  return scene;
}

void returnLineWork(plot::Scene& scene, const std::vector<ProjectFloor*>& floors) {
  for (std::size_t k = 0; k < floors.size() && k < scene.layers.size(); ++k) {
    plot::Layer& layer = scene.layers[k];
    floors[k]->lines = std::move(layer.lines);
    floors[k]->arcs = std::move(layer.arcs);
    floors[k]->summary.points = std::move(layer.dots);
  }
}

}  // namespace morlenview
