#include "morlenview/floor_scene.h"

#include <cstdio>
#include <string>

#include "formats/axis_file_records.h"

namespace morlenview {

using tavrin::kDegreesPerRadian;
namespace {

constexpr plot::Colour kOriginColour{0.0, 0.45, 0.0};
constexpr plot::Colour kReferenceColour{0.75, 0.0, 0.75};
constexpr plot::Colour kNearMissColour{0.9, 0.0, 0.0};

std::string fixed(double value, const char* format = "%.3f") {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

plot::Layer floorLayer(const ShownFloor& shown, plot::Colour colour) {
  plot::Layer layer;
  layer.colour = colour;
  const auto& summary = shown.summary;
  layer.name = "floor " + std::to_string(shown.floor->number) + " (" + shown.floor->fileName +
               "): " + std::to_string(summary.straightSegments + summary.arcSegments) + " segments";
  for (const AxisFileSegment& s : shown.floor->segments) {
    if (s.kind == AxisFileSegment::Kind::kStraight) {
      layer.lines.push_back(plot::Line{{s.x1, s.y1}, {s.x2, s.y2}});
    } else {
      layer.arcs.push_back(plot::Arc{{s.centreX, s.centreY},
                                     s.radius,
                                     s.startDegrees / kDegreesPerRadian,
                                     s.endDegrees / kDegreesPerRadian});
    }
  }
  for (const PlanePoint& p : summary.points) layer.dots.push_back(plot::Point{p.x, p.y});
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
                   "reference (" + fixed(reference.x) + ", " + fixed(reference.y) + ")"});
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

plot::Scene floorScene(const MorlenProject& project, const ShownFloor& floor) {
  plot::Scene scene;
  scene.title = project.name + " floor " + std::to_string(floor.floor->number) + " (" +
                floor.floor->fileName + "), metres";
  scene.layers.push_back(floorLayer(floor, floorColour(0)));
  addProjectMarks(project, scene);
  return scene;
}

plot::Scene overlayScene(const MorlenProject& project, const std::vector<ShownFloor>& floors,
                         const AlignmentResult& alignment) {
  plot::Scene scene;
  scene.title = project.name + ": " + std::to_string(floors.size()) +
                (floors.size() == 1 ? " floor" : " floors") + " over each other, metres";
  for (std::size_t k = 0; k < floors.size(); ++k)
    scene.layers.push_back(floorLayer(floors[k], floorColour(k)));
  addProjectMarks(project, scene);
  for (const NearMiss& miss : alignment.nearMisses)
    scene.marks.push_back(
        plot::Mark{{miss.at.x, miss.at.y}, plot::MarkShape::kRing, kNearMissColour, ""});
  if (!alignment.nearMisses.empty())
    scene.legend.push_back(plot::LegendEntry{
        plot::MarkShape::kRing, kNearMissColour,
        std::to_string(alignment.nearMisses.size()) + " points 1-300 mm off another floor"});
  return scene;
}

}  // namespace morlenview
