#include "plot/picture_layout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/plane_box.h"
#include "plot/arc_geometry.h"
#include "text/format.h"

namespace plot {
namespace {

constexpr double kPixelsPerSegment = 14.0;
constexpr double kMinSide = 600.0;
constexpr double kMaxSide = 4000.0;
// A drawing up to this many pixels across gets text of kTextSize pixels; a
// larger one proportionally larger text, as it is shown smaller.
constexpr double kShownSide = 1200.0;
constexpr double kTextSize = 12.0;
// Margins at kTextSize; they grow with the text.
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
// Air around the line work, and the least width or height of the view, as
// shares of its longer side.
constexpr double kPadding = 0.03;
constexpr double kLeastShare = 0.05;

using Box = geometry::PlaneBox;

Box lineWorkBox(const Scene& scene) {
  Box box;
  for (const Layer& layer : scene.layers) {
    for (const Line& line : layer.lines) {
      if (!isFinite(line)) continue;
      box.add(line.from);
      box.add(line.to);
    }
    for (const Arc& arc : layer.arcs) forEachArcBoundPoint(arc, [&](Point p) { box.add(p); });
    for (const Point& dot : layer.dots) box.add(dot);
  }
  return box;
}

// The median length of the scene's lines and arcs; 0 when it has none. The
// lengths are gathered a few at a time from large scenes: the median of an
// even sample is as good a measure and keeps the memory small.
double typicalLength(const Scene& scene) {
  constexpr std::size_t kSample = 100000;
  std::size_t count = 0;
  for (const Layer& layer : scene.layers) count += layer.lines.size() + layer.arcs.size();
  const std::size_t step = count / kSample + 1;
  std::vector<double> lengths;
  lengths.reserve(std::min(count, kSample + 1));
  std::size_t k = 0;
  for (const Layer& layer : scene.layers) {
    for (const Line& line : layer.lines)
      if (k++ % step == 0)
        lengths.push_back(std::hypot(line.to.x - line.from.x, line.to.y - line.from.y));
    for (const Arc& arc : layer.arcs)
      if (k++ % step == 0) lengths.push_back(arc.radius * arcSweep(arc));
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

double legendWidth(const Scene& scene, double scale) {
  std::size_t longest = 0;
  for (const Layer& layer : scene.layers) longest = std::max(longest, layer.name.size());
  for (const LegendEntry& entry : scene.legend) longest = std::max(longest, entry.text.size());
  return scale * std::max(kLegendMinWidth, kLegendSymbolWidth + kLegendCharacterWidth *
                                                                    static_cast<double>(longest));
}

// The view: the line work and the finite marks, as its middle and its half
// width and height. Halves of the bounds are subtracted, so even a box from
// the lowest to the highest double has a finite size.
struct View {
  double centreX = 0.0, centreY = 0.0;
  double halfWidth = 0.0, halfHeight = 0.0;
};

View viewOf(const Scene& scene, const Box& extent) {
  Box box = extent;
  for (const Mark& mark : scene.marks) box.add(mark.at);
  if (box.empty) box.add(Point{0, 0});
  return View{box.minX / 2 + box.maxX / 2, box.minY / 2 + box.maxY / 2, box.maxX / 2 - box.minX / 2,
              box.maxY / 2 - box.minY / 2};
}

// Room on the left for the y extents written there ("y -2258.330 m").
double leftMargin(const Scene& scene, const PictureLayout& layout) {
  double labelWidth = 0.0;
  if (layout.hasExtent) {
    for (double y : {layout.extentMinY, layout.extentMaxY}) {
      const std::string label = "y " + text::numberText(y, 3) + " " + scene.unit;
      labelWidth =
          std::max(labelWidth, kLegendCharacterWidth * static_cast<double>(label.size() + 1));
    }
  }
  return layout.textScale() * std::max(kMarginLeft, labelWidth + 16.0);
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
  layout.centreX = view.centreX;
  layout.centreY = view.centreY;

  // Sizes as shares of the longer half: a view without width or height gets
  // a twentieth of the other, or one unit, and some air all round.
  double longHalf = std::max(view.halfWidth, view.halfHeight);
  if (!(longHalf > 0.5e-9)) longHalf = 0.5;
  const double widthShare = std::max(view.halfWidth / longHalf, kLeastShare) + kPadding;
  const double heightShare = std::max(view.halfHeight / longHalf, kLeastShare) + kPadding;
  const double longShare = std::max(widthShare, heightShare);

  // The longer side of the view gets kPixelsPerSegment pixels per typical
  // segment, within kMinSide to kMaxSide pixels.
  const double typical = typicalLength(scene);
  const double segmentsAcross = typical > 0 ? 2 * longShare * (longHalf / typical) : 0.0;
  const double longSide = std::clamp(kPixelsPerSegment * segmentsAcross, kMinSide, kMaxSide);
  layout.pixelsPerUnit = longSide / (2 * longShare) / longHalf;
  layout.drawingWidth = longSide * widthShare / longShare;
  layout.drawingHeight = longSide * heightShare / longShare;

  layout.textSize = kTextSize * std::max(1.0, longSide / kShownSide);
  const double scale = layout.textScale();
  layout.left = leftMargin(scene, layout);
  layout.top = kMarginTop * scale;
  const double drawingHeight =
      std::max(layout.drawingHeight, static_cast<double>(legendRows(scene)) * kLegendRow * scale);
  layout.width = static_cast<int>(std::ceil(layout.left + layout.drawingWidth +
                                            kMarginRight * scale + legendWidth(scene, scale)));
  layout.height = static_cast<int>(std::ceil(layout.top + drawingHeight + kMarginBottom * scale));
  return layout;
}

}  // namespace plot
