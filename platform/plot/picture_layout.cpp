#include "plot/picture_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "geometry/plane_box.h"
#include "plot/arc_geometry.h"

namespace plot {
namespace {

constexpr double kPixelsPerSegment = 14.0;
constexpr double kMinSide = 600.0;
constexpr double kMaxSide = 4000.0;
constexpr double kMarginLeft = 120.0;
constexpr double kMarginTop = 56.0;
constexpr double kMarginBottom = 84.0;
constexpr double kMarginRight = 40.0;
// The legend's width: its symbols, then about 7 pixels per character of the
// longest text at the legend's font size.
constexpr double kLegendSymbolWidth = 50.0;
constexpr double kLegendCharacterWidth = 7.0;
constexpr double kLegendMinWidth = 200.0;
constexpr double kLegendRow = 20.0;

using Box = geometry::PlaneBox;

Box lineWorkBox(const Scene& scene) {
  Box box;
  for (const Layer& layer : scene.layers) {
    for (const Line& line : layer.lines) {
      box.add(line.from);
      box.add(line.to);
    }
    for (const Arc& arc : layer.arcs) forEachArcBoundPoint(arc, [&](Point p) { box.add(p); });
    for (const Point& dot : layer.dots) box.add(dot);
  }
  return box;
}

// The median length of the scene's lines and arcs; 0 when it has none.
double typicalLength(const Scene& scene) {
  std::vector<double> lengths;
  for (const Layer& layer : scene.layers) {
    for (const Line& line : layer.lines)
      lengths.push_back(std::hypot(line.to.x - line.from.x, line.to.y - line.from.y));
    for (const Arc& arc : layer.arcs) lengths.push_back(arc.radius * arcSweep(arc));
  }
  std::erase_if(lengths, [](double l) { return !(l > 0) || !std::isfinite(l); });
  if (lengths.empty()) return 0.0;
  auto middle = lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2);
  std::nth_element(lengths.begin(), middle, lengths.end());
  return *middle;
}

std::size_t legendRows(const Scene& scene) {
  return scene.layers.size() + scene.legend.size();
}

double legendWidth(const Scene& scene) {
  std::size_t longest = 0;
  for (const Layer& layer : scene.layers) longest = std::max(longest, layer.name.size());
  for (const LegendEntry& entry : scene.legend) longest = std::max(longest, entry.text.size());
  return std::max(kLegendMinWidth,
                  kLegendSymbolWidth + kLegendCharacterWidth * static_cast<double>(longest));
}

}  // namespace

PictureLayout layoutScene(const Scene& scene) {
  PictureLayout layout;
  const Box extent = lineWorkBox(scene);
  Box view = extent;
  for (const Mark& mark : scene.marks) view.add(mark.at);
  if (view.empty) view.add(Point{0, 0});
  layout.hasExtent = !extent.empty;
  if (!extent.empty) {
    layout.extentMinX = extent.minX;
    layout.extentMinY = extent.minY;
    layout.extentMaxX = extent.maxX;
    layout.extentMaxY = extent.maxY;
  }

  // A view without width or height gets the other's, or one unit.
  double w = view.maxX - view.minX;
  double h = view.maxY - view.minY;
  const double longSide = std::max({w, h, 1e-9}) > 1e-9 ? std::max(w, h) : 1.0;
  if (w < longSide * 0.05) {
    view.minX -= (longSide * 0.05 - w) / 2;
    w = longSide * 0.05;
  }
  if (h < longSide * 0.05) {
    view.minY -= (longSide * 0.05 - h) / 2;
    h = longSide * 0.05;
  }
  // A little air around the line work inside the frame.
  const double pad = longSide * 0.03;
  view.minX -= pad;
  view.minY -= pad;
  w += 2 * pad;
  h += 2 * pad;
  view.maxX = view.minX + w;
  view.maxY = view.minY + h;
  const double longer = std::max(w, h);

  const double typical = typicalLength(scene);
  const double wanted = typical > 0 ? kPixelsPerSegment * longer / typical : kMinSide;
  const double side = std::clamp(wanted, kMinSide, kMaxSide);
  layout.pixelsPerUnit = side / longer;
  layout.viewMinX = view.minX;
  layout.viewMinY = view.minY;
  layout.viewMaxX = view.maxX;
  layout.viewMaxY = view.maxY;
  // Room on the left for the y extents written there ("y -2258.330 units").
  double labelWidth = 0.0;
  for (double y : {view.minY, view.maxY}) {
    char label[64];
    const int length = std::snprintf(label, sizeof label, "y %.3f ", y);
    labelWidth =
        std::max(labelWidth, kLegendCharacterWidth *
                                 static_cast<double>(length + static_cast<int>(scene.unit.size())));
  }
  layout.left = std::max(kMarginLeft, labelWidth + 16.0);
  layout.top = kMarginTop;

  const double drawingHeight =
      std::max(h * layout.pixelsPerUnit, static_cast<double>(legendRows(scene)) * kLegendRow);
  layout.width = static_cast<int>(
      std::ceil(layout.left + w * layout.pixelsPerUnit + kMarginRight + legendWidth(scene)));
  layout.height = static_cast<int>(std::ceil(kMarginTop + drawingHeight + kMarginBottom));
  return layout;
}

}  // namespace plot
