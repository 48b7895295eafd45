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

// The world box shown, with its width and height as computed (the picture's
// size comes from these, not from the box's edges).
struct View {
  Box box;
  double width = 0.0;
  double height = 0.0;
};

// The line work and the marks; a view without width or height gets a twentieth
// of the other, or one unit, and the line work a little air inside the frame.
View viewOf(const Scene& scene, const Box& extent) {
  View view{extent};
  Box& box = view.box;
  for (const Mark& mark : scene.marks) box.add(mark.at);
  if (box.empty) box.add(Point{0, 0});
  double w = box.maxX - box.minX;
  double h = box.maxY - box.minY;
  const double longSide = std::max({w, h, 1e-9}) > 1e-9 ? std::max(w, h) : 1.0;
  if (w < longSide * 0.05) {
    box.minX -= (longSide * 0.05 - w) / 2;
    w = longSide * 0.05;
  }
  if (h < longSide * 0.05) {
    box.minY -= (longSide * 0.05 - h) / 2;
    h = longSide * 0.05;
  }
  const double pad = longSide * 0.03;
  box.minX -= pad;
  box.minY -= pad;
  w += 2 * pad;
  h += 2 * pad;
  box.maxX = box.minX + w;
  box.maxY = box.minY + h;
  view.width = w;
  view.height = h;
  return view;
}

// The scale: the longer side of the view gets kPixelsPerSegment pixels per
// typical segment, within kMinSide to kMaxSide pixels.
double pixelsPerUnit(const Scene& scene, const View& view) {
  const double longer = std::max(view.width, view.height);
  const double typical = typicalLength(scene);
  const double wanted = typical > 0 ? kPixelsPerSegment * longer / typical : kMinSide;
  return std::clamp(wanted, kMinSide, kMaxSide) / longer;
}

// Room on the left for the y extents written there ("y -2258.330 units").
double leftMargin(const Scene& scene, const Box& view) {
  double labelWidth = 0.0;
  for (double y : {view.minY, view.maxY}) {
    char label[64];
    const int length = std::snprintf(label, sizeof label, "y %.3f ", y);
    labelWidth =
        std::max(labelWidth, kLegendCharacterWidth *
                                 static_cast<double>(length + static_cast<int>(scene.unit.size())));
  }
  return std::max(kMarginLeft, labelWidth + 16.0);
}

}  // namespace

PictureLayout layoutScene(const Scene& scene) {
  PictureLayout layout;
  const Box extent = lineWorkBox(scene);
  layout.hasExtent = !extent.empty;
  if (!extent.empty) {
    layout.extentMinX = extent.minX;
    layout.extentMinY = extent.minY;
    layout.extentMaxX = extent.maxX;
    layout.extentMaxY = extent.maxY;
  }
  const View view = viewOf(scene, extent);
  layout.viewMinX = view.box.minX;
  layout.viewMinY = view.box.minY;
  layout.viewMaxX = view.box.maxX;
  layout.viewMaxY = view.box.maxY;
  layout.pixelsPerUnit = pixelsPerUnit(scene, view);
  layout.left = leftMargin(scene, view.box);
  layout.top = kMarginTop;

  const double drawingHeight = std::max(view.height * layout.pixelsPerUnit,
                                        static_cast<double>(legendRows(scene)) * kLegendRow);
  layout.width = static_cast<int>(std::ceil(layout.left + view.width * layout.pixelsPerUnit +
                                            kMarginRight + legendWidth(scene)));
  layout.height = static_cast<int>(std::ceil(kMarginTop + drawingHeight + kMarginBottom));
  return layout;
}

}  // namespace plot
