#include "plot/render_scene.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "plot/arc_geometry.h"
#include "plot/picture_layout.h"
#include "text/format.h"

namespace plot {
namespace {

constexpr double kLineWidth = 1.5;
constexpr double kDotRadius = 2.0;
constexpr Colour kInk{0.15, 0.15, 0.15};
constexpr Colour kFrame{0.6, 0.6, 0.6};
// A PNG is drawn this many rows at a time.
constexpr int kBandRows = 256;
// Line work is stroked this many segments to a path.
constexpr std::size_t kBatch = 1024;
// Arcs whose radius is more pixels than this are drawn as polylines: cairo's
// fixed-point coordinates end near 8 million pixels.
constexpr double kLargestCairoRadius = 1e5;
// cairo's image surfaces are at most this many pixels wide.
constexpr int kLargestPngWidth = 32767;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// The rows of the picture being drawn: a band of a PNG, or all of a vector
// picture, where every segment keeps a path of its own.
struct Band {
  double top = 0.0;
  double bottom = 0.0;
  bool vector = false;
};

// The pixels of a band already inked by the layer being drawn, so that line
// work and dots under a pixel are drawn once per pixel and colour.
class InkedPixels {
 public:
  InkedPixels(int width, int rows)
      : width_(width),
        rows_(rows),
        bits_(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows)) {}

  void clear(int top) {
    top_ = top;
    std::fill(bits_.begin(), bits_.end(), false);
  }
  // True the first time for the pixel under `p`, and for any point outside
  // the band; false when that pixel is already inked.
  bool first(Point p) {
    const double x = std::floor(p.x);
    const double y = std::floor(p.y) - top_;
    if (!(x >= 0 && x < width_ && y >= 0 && y < rows_)) return true;
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                           static_cast<std::size_t>(x);
    if (bits_[at]) return false;
    bits_[at] = true;
    return true;
  }

 private:
  int width_;
  int rows_;
  int top_ = 0;
  std::vector<bool> bits_;
};

bool samePixel(Point a, Point b) {
  return std::floor(a.x) == std::floor(b.x) && std::floor(a.y) == std::floor(b.y);
}

std::string number(double value) {
  return text::numberText(value, 3);
}

void setColour(cairo_t* c, Colour colour) {
  cairo_set_source_rgb(c, colour.red, colour.green, colour.blue);
}

// Text with its left end at (x, y) on the baseline; `align` 0 left, 0.5
// centred, 1 right.
void text(cairo_t* c, double x, double y, const std::string& s, double align = 0.0) {
  cairo_text_extents_t extents;
  cairo_text_extents(c, s.c_str(), &extents);
  cairo_move_to(c, x - extents.x_advance * align, y);
  cairo_show_text(c, s.c_str());
  cairo_new_path(c);
}

// The symbol's path at `p`, `scale` times its size at 12-pixel text.
void markPath(cairo_t* c, MarkShape shape, Point p, double scale) {
  switch (shape) {
    case MarkShape::kCross:
      cairo_move_to(c, p.x - 8 * scale, p.y);
      cairo_line_to(c, p.x + 8 * scale, p.y);
      cairo_move_to(c, p.x, p.y - 8 * scale);
      cairo_line_to(c, p.x, p.y + 8 * scale);
      cairo_new_sub_path(c);
      cairo_arc(c, p.x, p.y, 4 * scale, 0, 2 * std::numbers::pi);
      break;
    case MarkShape::kDiamond:
      cairo_move_to(c, p.x, p.y - 7 * scale);
      cairo_line_to(c, p.x + 7 * scale, p.y);
      cairo_line_to(c, p.x, p.y + 7 * scale);
      cairo_line_to(c, p.x - 7 * scale, p.y);
      cairo_close_path(c);
      break;
    case MarkShape::kRing:
      cairo_new_sub_path(c);
      cairo_arc(c, p.x, p.y, 6 * scale, 0, 2 * std::numbers::pi);
      break;
  }
}

void drawMarkShape(cairo_t* c, MarkShape shape, Point p, Colour colour, double scale) {
  setColour(c, colour);
  cairo_set_line_width(c, kLineWidth * scale);
  markPath(c, shape, p, scale);
  cairo_stroke(c);
}

// The largest 1, 2 or 5 times a power of ten not above `limit`.
double niceLength(double limit) {
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double step : {5.0, 2.0, 1.0})
    if (step * power <= limit) return step * power;
  return power;
}

// Strokes what was added to the path every kBatch items, or every item in a
// vector picture, where each segment keeps a path of its own.
class Batch {
 public:
  Batch(cairo_t* c, bool eachAlone, bool fill = false)
      : c_(c), eachAlone_(eachAlone), fill_(fill) {}
  ~Batch() { flush(); }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  void added() {
    if (eachAlone_ || ++count_ == kBatch) flush();
  }
  void flush() {
    if (fill_)
      cairo_fill(c_);
    else
      cairo_stroke(c_);
    count_ = 0;
  }

 private:
  cairo_t* c_;
  bool eachAlone_;
  bool fill_;
  std::size_t count_ = 0;
};

// Consecutive lines that continue one another within a quarter pixel, as the
// segments of one axis do, drawn as one: a grid of a thousand axes is then a
// thousand strokes, not half a million. The run's direction is kept within a
// cone from its start that every point passed so far allows, so no point of
// it ends up more than the tolerance off the line drawn.
class StraightRun {
 public:
  // Starts a run with the line from `a` to `b` (pixels) that ends at `to`
  // in the world.
  void begin(Point a, Point b, Point to) {
    start_ = a;
    end_ = b;
    endWorld_ = to;
    open_ = true;
    bounded_ = false;
    narrow(b);
  }
  // Takes the line from `from` (world) to `b` (pixels) that ends at `to` in
  // the world into the run when it starts where the run ends and keeps its
  // direction; false otherwise.
  bool continues(Point from, Point b, Point to) {
    if (!open_ || !(from == endWorld_)) return false;
    const double dx = b.x - start_.x, dy = b.y - start_.y;
    const double length = std::hypot(dx, dy);
    if (length > kQuarterPixel && bounded_) {
      const double offset = relative(std::atan2(dy, dx));
      if (offset < low_ || offset > high_) return false;
    }
    end_ = b;
    endWorld_ = to;
    narrow(b);
    return true;
  }
  bool open() const { return open_; }
  Point start() const { return start_; }
  Point end() const { return end_; }
  void close() { open_ = false; }

 private:
  static constexpr double kQuarterPixel = 0.25;

  // The angle relative to the run's first direction, in (-pi, pi].
  double relative(double angle) const {
    double offset = angle - base_;
    if (offset > std::numbers::pi) offset -= 2 * std::numbers::pi;
    if (offset <= -std::numbers::pi) offset += 2 * std::numbers::pi;
    return offset;
  }
  // Narrows the cone to the directions that pass within a quarter pixel of
  // `p`; points within a quarter pixel of the start allow every direction.
  void narrow(Point p) {
    const double dx = p.x - start_.x, dy = p.y - start_.y;
    const double length = std::hypot(dx, dy);
    if (!(length > kQuarterPixel)) return;
    const double angle = std::atan2(dy, dx);
    if (!bounded_) {
      base_ = angle;
      low_ = -std::numbers::pi;
      high_ = std::numbers::pi;
      bounded_ = true;
    }
    const double centre = relative(angle);
    const double spread = std::asin(kQuarterPixel / length);
    low_ = std::max(low_, centre - spread);
    high_ = std::min(high_, centre + spread);
  }

  bool open_ = false;
  bool bounded_ = false;
  Point start_, end_, endWorld_;
  double base_ = 0.0, low_ = 0.0, high_ = 0.0;
};

// An arc whose radius is too many pixels for cairo, as a polyline whose
// chords stay within a quarter pixel of the circle.
void arcPolyline(cairo_t* c, const PictureLayout& layout, const Arc& arc, double start,
                 double sweep) {
  const double radiusPixels = arc.radius * layout.pixelsPerUnit;
  const double step = 2 * std::sqrt(0.5 / radiusPixels);
  const auto pieces = static_cast<int>(std::min(std::ceil(sweep / step), 100000.0)) + 1;
  for (int k = 0; k <= pieces; ++k) {
    const Point p = layout.toPixel(arcPoint(arc, start + sweep * k / pieces));
    if (k == 0)
      cairo_move_to(c, p.x, p.y);
    else
      cairo_line_to(c, p.x, p.y);
  }
}

// A layer's lines and dots in pixels, worked out once for all the bands of
// a PNG: lines that continue one another joined into one, dots that share a
// pixel taken once.
struct PixelLine {
  float x1, y1, x2, y2;
};
struct LayerPixels {
  std::vector<PixelLine> lines;
  std::vector<std::uint32_t> dotRows, dotColumns;
};

LayerPixels pixelsOf(const PictureLayout& layout, const Layer& layer) {
  LayerPixels pixels;
  StraightRun run;
  const auto keepRun = [&] {
    if (!run.open()) return;
    const Point a = run.start(), b = run.end();
    run.close();
    pixels.lines.push_back(PixelLine{static_cast<float>(a.x), static_cast<float>(a.y),
                                     static_cast<float>(b.x), static_cast<float>(b.y)});
  };
  for (const Line& line : layer.lines) {
    if (!isFinite(line)) continue;
    const Point b = layout.toPixel(line.to);
    if (run.continues(line.from, b, line.to)) continue;
    keepRun();
    run.begin(layout.toPixel(line.from), b, line.to);
  }
  keepRun();
  for (const Point& dot : layer.dots) {
    if (!std::isfinite(dot.x) || !std::isfinite(dot.y)) continue;
    const Point p = layout.toPixel(dot);
    if (!(p.x >= 0 && p.y >= 0 && p.x < layout.width && p.y < layout.height)) continue;
    pixels.dotColumns.push_back(static_cast<std::uint32_t>(p.x));
    pixels.dotRows.push_back(static_cast<std::uint32_t>(p.y));
  }
  return pixels;
}

// A round symbol about the middle of a pixel as the coverage of the pixels
// around it, sixteen samples a pixel: a filled dot (`inner` 0) or a ring
// between two radii.
struct Stamp {
  int half = 0;
  std::vector<float> alpha;  // (2 half + 1) squared, row by row
};

Stamp makeStamp(double inner, double outer) {
  Stamp stamp;
  stamp.half = static_cast<int>(std::ceil(outer));
  const int side = 2 * stamp.half + 1;
  stamp.alpha.assign(static_cast<std::size_t>(side * side), 0.0f);
  for (int row = 0; row < side; ++row)
    for (int column = 0; column < side; ++column) {
      int inside = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          const double x = column - stamp.half + (sx + 0.5) / 4 - 0.5;
          const double y = row - stamp.half + (sy + 0.5) / 4 - 0.5;
          const double r = std::sqrt(x * x + y * y);
          inside += r <= outer && r >= inner ? 1 : 0;
        }
      stamp.alpha[static_cast<std::size_t>(row * side + column)] = static_cast<float>(inside) / 16;
    }
  return stamp;
}

// The pixels of a PNG band, written straight: half a million dots or rings
// through cairo cost seconds, stamped a few milliseconds.
class BandPixels {
 public:
  BandPixels(cairo_t* c, int top) : surface_(cairo_get_target(c)), top_(top) {
    cairo_surface_flush(surface_);
    data_ = cairo_image_surface_get_data(surface_);
    stride_ = cairo_image_surface_get_stride(surface_);
    width_ = cairo_image_surface_get_width(surface_);
    rows_ = cairo_image_surface_get_height(surface_);
  }
  ~BandPixels() { cairo_surface_mark_dirty(surface_); }
  BandPixels(const BandPixels&) = delete;
  BandPixels& operator=(const BandPixels&) = delete;

  // True when a stamp about picture pixel row `y` reaches the band.
  bool reaches(int y, const Stamp& stamp) const {
    return y + stamp.half >= top_ && y - stamp.half < top_ + rows_;
  }
  void stamp(int x, int y, const Stamp& stamp, Colour colour) {
    const float ink[3] = {static_cast<float>(colour.red * 255),
                          static_cast<float>(colour.green * 255),
                          static_cast<float>(colour.blue * 255)};
    const int side = 2 * stamp.half + 1;
    for (int dy = -stamp.half; dy <= stamp.half; ++dy) {
      const int row = y + dy - top_;
      if (row < 0 || row >= rows_) continue;
      auto* line =
          reinterpret_cast<std::uint32_t*>(data_ + static_cast<std::ptrdiff_t>(row) * stride_);
      for (int dx = -stamp.half; dx <= stamp.half; ++dx) {
        const int column = x + dx;
        if (column < 0 || column >= width_) continue;
        const float alpha =
            stamp.alpha[static_cast<std::size_t>((dy + stamp.half) * side + dx + stamp.half)];
        if (alpha <= 0) continue;
        const std::uint32_t old = line[column];
        std::uint32_t blended = 0;
        for (int channel = 0; channel < 3; ++channel) {
          const int shift = 16 - 8 * channel;
          const float was = static_cast<float>((old >> shift) & 0xFF);
          blended |= static_cast<std::uint32_t>(was + (ink[channel] - was) * alpha + 0.5f) << shift;
        }
        line[column] = blended;
      }
    }
  }

 private:
  cairo_surface_t* surface_;
  int top_;
  unsigned char* data_ = nullptr;
  int stride_ = 0, width_ = 0, rows_ = 0;
};

void stampDots(cairo_t* c, const LayerPixels& pixels, Colour colour, const Band& band,
               InkedPixels& inked) {
  static const Stamp dot = makeStamp(0.0, kDotRadius);
  BandPixels target(c, static_cast<int>(band.top));
  inked.clear(static_cast<int>(band.top));
  for (std::size_t k = 0; k < pixels.dotRows.size(); ++k) {
    const int x = static_cast<int>(pixels.dotColumns[k]);
    const int y = static_cast<int>(pixels.dotRows[k]);
    if (!target.reaches(y, dot) || !inked.first(Point{x + 0.5, y + 0.5})) continue;
    target.stamp(x, y, dot, colour);
  }
}

void drawLayer(cairo_t* c, const PictureLayout& layout, const Layer& layer,
               const LayerPixels* pixels, const Band& band, InkedPixels* inked) {
  setColour(c, layer.colour);
  cairo_set_line_width(c, kLineWidth);
  const double reach = kLineWidth + kDotRadius;
  const auto outside = [&](double low, double high) {
    return high < band.top - reach || low > band.bottom + reach;
  };
  if (inked) inked->clear(static_cast<int>(band.top));
  {
    Batch batch(c, band.vector);
    if (pixels) {
      for (const PixelLine& line : pixels->lines) {
        const Point a{line.x1, line.y1}, b{line.x2, line.y2};
        if (outside(std::min(a.y, b.y), std::max(a.y, b.y))) continue;
        if (inked && samePixel(a, b) && !inked->first(a)) continue;
        cairo_move_to(c, a.x, a.y);
        cairo_line_to(c, b.x, b.y);
        batch.added();
      }
    } else {
      // In a vector picture each segment keeps a path of its own.
      for (const Line& line : layer.lines) {
        if (!isFinite(line)) continue;
        const Point a = layout.toPixel(line.from);
        const Point b = layout.toPixel(line.to);
        cairo_move_to(c, a.x, a.y);
        cairo_line_to(c, b.x, b.y);
        batch.added();
      }
    }
    for (const Arc& arc : layer.arcs) {
      if (!isFinite(arc)) continue;
      const Point centre = layout.toPixel(arc.centre);
      const double radius = arc.radius * layout.pixelsPerUnit;
      if (outside(centre.y - radius, centre.y + radius)) continue;
      const double start = reducedRadians(arc.startRadians);
      const double sweep = arcSweep(arc);
      if (inked && radius * sweep < 1 &&
          !inked->first(layout.toPixel(arcPoint(arc, start + sweep / 2))))
        continue;
      cairo_new_sub_path(c);
      if (radius > kLargestCairoRadius) {
        arcPolyline(c, layout, arc, start, sweep);
      } else {
        // y points down on the picture: counter-clockwise in the world is a
        // decreasing angle there.
        cairo_arc_negative(c, centre.x, centre.y, radius, -start, -start - sweep);
      }
      batch.added();
    }
  }
  if (pixels && inked) {
    stampDots(c, *pixels, layer.colour, band, *inked);
    return;
  }
  Batch dots(c, false, true);
  for (const Point& dot : layer.dots) {
    if (!std::isfinite(dot.x) || !std::isfinite(dot.y)) continue;
    const Point p = layout.toPixel(dot);
    cairo_new_sub_path(c);
    cairo_arc(c, p.x, p.y, kDotRadius, 0, 2 * std::numbers::pi);
    dots.added();
  }
}

void drawMarks(cairo_t* c, const PictureLayout& layout, const Scene& scene, const Band& band,
               InkedPixels* inked) {
  const double scale = layout.textScale();
  const double reach = 20 * scale;
  // Rings that mark points keep their size on a large picture: there may be
  // hundreds of thousands, side by side.
  static const Stamp ring = makeStamp(6 - kLineWidth / 2, 6 + kLineWidth / 2);
  std::optional<BandPixels> target;
  if (inked) inked->clear(static_cast<int>(band.top));
  for (const Mark& mark : scene.marks) {
    if (!std::isfinite(mark.at.x) || !std::isfinite(mark.at.y)) continue;
    const Point p = layout.toPixel(mark.at);
    if (p.y < band.top - reach || p.y > band.bottom + reach) continue;
    if (inked && mark.label.empty()) {
      // Unlabelled marks may be many: once per pixel, and rings stamped.
      if (!inked->first(p)) continue;
      if (mark.shape == MarkShape::kRing) {
        if (!target) target.emplace(c, static_cast<int>(band.top));
        target->stamp(static_cast<int>(p.x), static_cast<int>(p.y), ring, mark.colour);
        continue;
      }
    }
    if (target) target.reset();
    drawMarkShape(c, mark.shape, p, mark.colour, scale);
    if (!mark.label.empty()) {
      setColour(c, mark.colour);
      // Crosses label below, other marks above, so the origin and a
      // reference point close to it keep their labels apart.
      text(c, p.x + 10 * scale,
           mark.shape == MarkShape::kCross ? p.y + 18 * scale : p.y - 8 * scale, mark.label);
    }
  }
}

void drawExtents(cairo_t* c, const PictureLayout& layout, const std::string& unit) {
  if (!layout.hasExtent) return;
  const double scale = layout.textScale();
  const Point low = layout.toPixel(Point{layout.extentMinX, layout.extentMinY});
  const Point high = layout.toPixel(Point{layout.extentMaxX, layout.extentMaxY});
  setColour(c, kFrame);
  cairo_set_line_width(c, 0.8 * scale);
  const double dash[] = {4.0 * scale, 3.0 * scale};
  cairo_set_dash(c, dash, 2, 0);
  cairo_rectangle(c, low.x, high.y, high.x - low.x, low.y - high.y);
  cairo_stroke(c);
  cairo_set_dash(c, nullptr, 0, 0);
  setColour(c, kInk);
  const double below = layout.top + layout.drawingHeight;
  text(c, low.x, below + 16 * scale, "x " + number(layout.extentMinX) + " " + unit, 0.5);
  // The right label goes a row lower, so the two never overlap.
  if (high.x - low.x > 1)
    text(c, high.x, below + 32 * scale, "x " + number(layout.extentMaxX) + " " + unit, 0.5);
  text(c, layout.left - 6 * scale, low.y + 4 * scale, "y " + number(layout.extentMinY) + " " + unit,
       1.0);
  if (low.y - high.y > 1)
    text(c, layout.left - 6 * scale, high.y + 4 * scale,
         "y " + number(layout.extentMaxY) + " " + unit, 1.0);
}

void drawScaleBar(cairo_t* c, const PictureLayout& layout, const std::string& unit) {
  const double scale = layout.textScale();
  // A quarter of the view's width; the widest views are wider than the
  // largest double.
  const double quarter = std::min(layout.drawingWidth / 4 / layout.pixelsPerUnit, DBL_MAX);
  const double length = niceLength(quarter);
  const double pixels = length * layout.pixelsPerUnit;
  const double y = layout.height - 18.0 * scale;
  const double x = layout.left;
  setColour(c, kInk);
  cairo_set_line_width(c, 2.0 * scale);
  cairo_move_to(c, x, y - 5 * scale);
  cairo_line_to(c, x, y);
  cairo_line_to(c, x + pixels, y);
  cairo_line_to(c, x + pixels, y - 5 * scale);
  cairo_stroke(c);
  char label[64];
  std::snprintf(label, sizeof label, "%g %s", length, unit.size() < 32 ? unit.c_str() : "");
  text(c, x + pixels + 8 * scale, y + 4 * scale, label);
}

void drawLegend(cairo_t* c, const PictureLayout& layout, const Scene& scene) {
  const double scale = layout.textScale();
  const double x = layout.left + layout.drawingWidth + 40 * scale;
  double y = layout.top + 12 * scale;
  for (const Layer& layer : scene.layers) {
    setColour(c, layer.colour);
    cairo_set_line_width(c, 3.0 * scale);
    cairo_move_to(c, x, y - 4 * scale);
    cairo_line_to(c, x + 22 * scale, y - 4 * scale);
    cairo_stroke(c);
    setColour(c, kInk);
    text(c, x + 30 * scale, y, layer.name);
    y += 20 * scale;
  }
  for (const LegendEntry& entry : scene.legend) {
    drawMarkShape(c, entry.shape, Point{x + 11 * scale, y - 4 * scale}, entry.colour, scale);
    setColour(c, kInk);
    text(c, x + 30 * scale, y, entry.text);
    y += 20 * scale;
  }
}

// `pixels` holds each layer's pixels for a PNG; null for a vector picture.
void draw(cairo_t* c, const PictureLayout& layout, const Scene& scene,
          const std::vector<LayerPixels>* pixels, const Band& band, InkedPixels* inked) {
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_paint(c);
  cairo_select_font_face(c, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(c, layout.textSize);
  cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);

  drawExtents(c, layout, scene.unit);
  for (std::size_t k = 0; k < scene.layers.size(); ++k)
    drawLayer(c, layout, scene.layers[k], pixels ? &(*pixels)[k] : nullptr, band, inked);
  drawMarks(c, layout, scene, band, inked);
  drawScaleBar(c, layout, scene.unit);
  drawLegend(c, layout, scene);
  setColour(c, kInk);
  cairo_set_font_size(c, layout.textSize * 1.4);
  text(c, layout.left, 30 * layout.textScale(), scene.title);
}

// Text makes cairo and fontconfig keep font caches for the life of the
// process; they are handed back at exit, so leak checkers see none.
void releaseFontCachesAtExit() {
  [[maybe_unused]] static const bool registered = [] {
    std::atexit([] {
      cairo_debug_reset_static_data();
      FcFini();
    });
    return true;
  }();
}

// Where cairo and the PNG encoder send bytes, and whether the sink refused.
struct Output {
  const PictureSink* sink = nullptr;
  bool refused = false;
  char encoderMessage[160] = "";
};

cairo_status_t writeForCairo(void* closure, const unsigned char* data, unsigned int length) {
  auto* output = static_cast<Output*>(closure);
  if (!(*output->sink)(std::string_view(reinterpret_cast<const char*>(data), length))) {
    output->refused = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

void writeForPng(png_structp png, png_bytep data, png_size_t length) {
  auto* output = static_cast<Output*>(png_get_io_ptr(png));
  if (!(*output->sink)(std::string_view(reinterpret_cast<const char*>(data), length))) {
    output->refused = true;
    png_error(png, "the picture's bytes were not taken");
  }
}

void flushForPng(png_structp) {}

void pngFailed(png_structp png, png_const_charp message) {
  auto* output = static_cast<Output*>(png_get_error_ptr(png));
  std::snprintf(output->encoderMessage, sizeof output->encoderMessage, "%s", message);
  png_longjmp(png, 1);
}

void pngWarned(png_structp, png_const_charp) {}

// libpng, fed a band of rows at a time. Its errors come back by longjmp to
// the call that met them, which then returns false; the calls hold nothing
// that needs destroying meanwhile.
class PngEncoder {
 public:
  explicit PngEncoder(Output& output) : output_(output) {}
  ~PngEncoder() {
    if (png_ != nullptr) png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
  }
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;

  bool begin(int width, int height) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output_, pngFailed, pngWarned);
    if (png_ == nullptr) return false;
    info_ = png_create_info_struct(png_);
    if (info_ == nullptr) return false;
    if (setjmp(png_jmpbuf(png_))) return false;
    png_set_write_fn(png_, &output_, writeForPng, flushForPng);
    png_set_IHDR(png_, info_, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Line work on white packs well with the quick settings.
    png_set_compression_level(png_, 1);
    png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png_, info_);
    // cairo's pixels are 32-bit words 0x00RRGGBB in the machine's byte order.
    if constexpr (std::endian::native == std::endian::little) {
      png_set_bgr(png_);
      png_set_filler(png_, 0, PNG_FILLER_AFTER);
    } else {
      png_set_filler(png_, 0, PNG_FILLER_BEFORE);
    }
    return true;
  }

  bool writeRows(unsigned char* data, int stride, int rows) {
    if (setjmp(png_jmpbuf(png_))) return false;
    writeRowsUnguarded(data, stride, rows);
    return true;
  }

  bool end() {
    if (setjmp(png_jmpbuf(png_))) return false;
    png_write_end(png_, nullptr);
    return true;
  }

 private:
  void writeRowsUnguarded(unsigned char* data, int stride, int rows) {
    for (int row = 0; row < rows; ++row) png_write_row(png_, data + row * stride);
  }

  Output& output_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

base::Status failure(const Output& output, const std::string& reason) {
  if (output.refused) return base::Status::error("the picture's bytes could not be written");
  return base::Status::error(reason);
}

base::Status renderPng(const Scene& scene, const PictureLayout& layout, Output& output) {
  if (layout.width > kLargestPngWidth)
    return base::Status::error("a PNG picture " + std::to_string(layout.width) +
                               " pixels wide is wider than " + std::to_string(kLargestPngWidth));
  PngEncoder encoder(output);
  if (!encoder.begin(layout.width, layout.height))
    return failure(output, std::string("the PNG encoder failed: ") + output.encoderMessage);
  const int bandRows = std::min(kBandRows, layout.height);
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, bandRows));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    return base::Status::error(cairo_status_to_string(cairo_surface_status(surface.get())));
  InkedPixels inked(layout.width, bandRows);
  std::vector<LayerPixels> pixels;
  for (const Layer& layer : scene.layers) pixels.push_back(pixelsOf(layout, layer));
  for (int top = 0; top < layout.height; top += bandRows) {
    const int rows = std::min(bandRows, layout.height - top);
    {
      Context context(cairo_create(surface.get()));
      cairo_translate(context.get(), 0, -top);
      draw(context.get(), layout, scene, &pixels,
           Band{static_cast<double>(top), static_cast<double>(top + rows), false}, &inked);
      if (const cairo_status_t status = cairo_status(context.get()); status != CAIRO_STATUS_SUCCESS)
        return base::Status::error(cairo_status_to_string(status));
    }
    cairo_surface_flush(surface.get());
    if (!encoder.writeRows(cairo_image_surface_get_data(surface.get()),
                           cairo_image_surface_get_stride(surface.get()), rows))
      return failure(output, std::string("the PNG encoder failed: ") + output.encoderMessage);
  }
  if (!encoder.end())
    return failure(output, std::string("the PNG encoder failed: ") + output.encoderMessage);
  return base::Status::ok();
}

base::Status renderVector(const Scene& scene, const PictureLayout& layout, PictureFormat format,
                          Output& output) {
  std::size_t segments = scene.marks.size();
  for (const Layer& layer : scene.layers) segments += layer.lines.size() + layer.arcs.size();
  if (segments > kVectorPictureSegmentLimit)
    return base::Status::error(
        std::to_string(segments) + " lines, arcs and marks are more than an " +
        pictureFormatName(format) + " picture holds (" +
        std::to_string(kVectorPictureSegmentLimit) + "); a PNG picture draws any number");
  Surface surface(
      format == PictureFormat::kSvg
          ? cairo_svg_surface_create_for_stream(writeForCairo, &output, layout.width, layout.height)
          : cairo_pdf_surface_create_for_stream(writeForCairo, &output, layout.width,
                                                layout.height));
  cairo_status_t status = cairo_surface_status(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) {
    Context context(cairo_create(surface.get()));
    draw(context.get(), layout, scene, nullptr, Band{0.0, static_cast<double>(layout.height), true},
         nullptr);
    status = cairo_status(context.get());
  }
  if (status == CAIRO_STATUS_SUCCESS) {
    cairo_surface_finish(surface.get());
    status = cairo_surface_status(surface.get());
  }
  if (status != CAIRO_STATUS_SUCCESS) return failure(output, cairo_status_to_string(status));
  return base::Status::ok();
}

}  // namespace

base::Status renderScene(const Scene& scene, PictureFormat format, const PictureSink& sink) {
  releaseFontCachesAtExit();
  const PictureLayout layout = layoutScene(scene);
  Output output;
  output.sink = &sink;
  return format == PictureFormat::kPng ? renderPng(scene, layout, output)
                                       : renderVector(scene, layout, format, output);
}

}  // namespace plot
