#include "plot/render_scene.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>

#include "plot/arc_geometry.h"
#include "plot/picture_layout.h"

namespace plot {
namespace {

constexpr double kLineWidth = 1.5;
constexpr double kDotRadius = 2.0;
constexpr double kFontSize = 12.0;
constexpr Colour kInk{0.15, 0.15, 0.15};
constexpr Colour kFrame{0.6, 0.6, 0.6};

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
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

void drawMarkShape(cairo_t* c, MarkShape shape, Point p, Colour colour) {
  setColour(c, colour);
  cairo_set_line_width(c, kLineWidth);
  switch (shape) {
    case MarkShape::kCross:
      cairo_move_to(c, p.x - 8, p.y);
      cairo_line_to(c, p.x + 8, p.y);
      cairo_move_to(c, p.x, p.y - 8);
      cairo_line_to(c, p.x, p.y + 8);
      cairo_stroke(c);
      cairo_arc(c, p.x, p.y, 4, 0, 2 * std::numbers::pi);
      cairo_stroke(c);
      break;
    case MarkShape::kDiamond:
      cairo_move_to(c, p.x, p.y - 7);
      cairo_line_to(c, p.x + 7, p.y);
      cairo_line_to(c, p.x, p.y + 7);
      cairo_line_to(c, p.x - 7, p.y);
      cairo_close_path(c);
      cairo_stroke(c);
      break;
    case MarkShape::kRing:
      cairo_arc(c, p.x, p.y, 6, 0, 2 * std::numbers::pi);
      cairo_stroke(c);
      break;
  }
}

// The largest 1, 2 or 5 times a power of ten not above `limit`.
double niceLength(double limit) {
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double step : {5.0, 2.0, 1.0})
    if (step * power <= limit) return step * power;
  return power;
}

void drawLayer(cairo_t* c, const PictureLayout& layout, const Layer& layer) {
  setColour(c, layer.colour);
  cairo_set_line_width(c, kLineWidth);
  // One path per segment, so each can be found on its own in a vector file.
  for (const Line& line : layer.lines) {
    const Point a = layout.toPixel(line.from);
    const Point b = layout.toPixel(line.to);
    cairo_move_to(c, a.x, a.y);
    cairo_line_to(c, b.x, b.y);
    cairo_stroke(c);
  }
  for (const Arc& arc : layer.arcs) {
    const Point centre = layout.toPixel(arc.centre);
    const double sweep = arcSweep(arc);
    // y points down on the picture: counter-clockwise in the world is a
    // decreasing angle there.
    cairo_new_sub_path(c);
    cairo_arc_negative(c, centre.x, centre.y, arc.radius * layout.pixelsPerUnit, -arc.startRadians,
                       -arc.startRadians - sweep);
    cairo_stroke(c);
  }
  for (const Point& dot : layer.dots) {
    const Point p = layout.toPixel(dot);
    cairo_new_sub_path(c);
    cairo_arc(c, p.x, p.y, kDotRadius, 0, 2 * std::numbers::pi);
  }
  cairo_fill(c);
}

void drawExtents(cairo_t* c, const PictureLayout& layout, const std::string& unit) {
  if (!layout.hasExtent) return;
  const Point low = layout.toPixel(Point{layout.extentMinX, layout.extentMinY});
  const Point high = layout.toPixel(Point{layout.extentMaxX, layout.extentMaxY});
  setColour(c, kFrame);
  cairo_set_line_width(c, 0.8);
  const double dash[] = {4.0, 3.0};
  cairo_set_dash(c, dash, 2, 0);
  cairo_rectangle(c, low.x, high.y, high.x - low.x, low.y - high.y);
  cairo_stroke(c);
  cairo_set_dash(c, nullptr, 0, 0);
  setColour(c, kInk);
  const double below = layout.top + (layout.viewMaxY - layout.viewMinY) * layout.pixelsPerUnit;
  text(c, low.x, below + 16, "x " + number(layout.extentMinX) + " " + unit, 0.5);
  // The right label goes a row lower, so the two never overlap.
  if (high.x - low.x > 1)
    text(c, high.x, below + 32, "x " + number(layout.extentMaxX) + " " + unit, 0.5);
  text(c, layout.left - 6, low.y + 4, "y " + number(layout.extentMinY) + " " + unit, 1.0);
  if (low.y - high.y > 1)
    text(c, layout.left - 6, high.y + 4, "y " + number(layout.extentMaxY) + " " + unit, 1.0);
}

void drawScaleBar(cairo_t* c, const PictureLayout& layout, const std::string& unit) {
  const double viewWidth = layout.viewMaxX - layout.viewMinX;
  const double length = niceLength(viewWidth / 4);
  const double pixels = length * layout.pixelsPerUnit;
  const double y = layout.height - 18.0;
  const double x = layout.left;
  setColour(c, kInk);
  cairo_set_line_width(c, 2.0);
  cairo_move_to(c, x, y - 5);
  cairo_line_to(c, x, y);
  cairo_line_to(c, x + pixels, y);
  cairo_line_to(c, x + pixels, y - 5);
  cairo_stroke(c);
  char label[64];
  std::snprintf(label, sizeof label, "%g %s", length, unit.c_str());
  text(c, x + pixels + 8, y + 4, label);
}

void drawLegend(cairo_t* c, const PictureLayout& layout, const Scene& scene) {
  const double x = layout.left + (layout.viewMaxX - layout.viewMinX) * layout.pixelsPerUnit + 40;
  double y = layout.top + 12;
  for (const Layer& layer : scene.layers) {
    setColour(c, layer.colour);
    cairo_set_line_width(c, 3.0);
    cairo_move_to(c, x, y - 4);
    cairo_line_to(c, x + 22, y - 4);
    cairo_stroke(c);
    setColour(c, kInk);
    text(c, x + 30, y, layer.name);
    y += 20;
  }
  for (const LegendEntry& entry : scene.legend) {
    drawMarkShape(c, entry.shape, Point{x + 11, y - 4}, entry.colour);
    setColour(c, kInk);
    text(c, x + 30, y, entry.text);
    y += 20;
  }
}

void draw(cairo_t* c, const PictureLayout& layout, const Scene& scene) {
  cairo_set_source_rgb(c, 1, 1, 1);
  cairo_paint(c);
  cairo_select_font_face(c, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(c, kFontSize);
  cairo_set_line_cap(c, CAIRO_LINE_CAP_ROUND);

  drawExtents(c, layout, scene.unit);
  for (const Layer& layer : scene.layers) drawLayer(c, layout, layer);
  for (const Mark& mark : scene.marks) {
    const Point p = layout.toPixel(mark.at);
    drawMarkShape(c, mark.shape, p, mark.colour);
    if (!mark.label.empty()) {
      setColour(c, mark.colour);
      // Crosses label below, other marks above, so the origin and a
      // reference point close to it keep their labels apart.
      text(c, p.x + 10, mark.shape == MarkShape::kCross ? p.y + 18 : p.y - 8, mark.label);
    }
  }
  drawScaleBar(c, layout, scene.unit);
  drawLegend(c, layout, scene);
  setColour(c, kInk);
  cairo_set_font_size(c, kFontSize * 1.4);
  text(c, layout.left, 30, scene.title);
}

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
  std::FILE* file = static_cast<std::FILE*>(closure);
  return std::fwrite(data, 1, length, file) == length ? CAIRO_STATUS_SUCCESS
                                                      : CAIRO_STATUS_WRITE_ERROR;
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

}  // namespace

base::Status renderScene(const Scene& scene, const std::string& path, PictureFormat format) {
  releaseFontCachesAtExit();
  const PictureLayout layout = layoutScene(scene);
  const std::string temporary = path + ".part";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr)
    return base::Status::error("cannot write the picture " + path + ": " + std::strerror(errno));

  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface;
  switch (format) {
    case PictureFormat::kPng:
      surface.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height));
      break;
    case PictureFormat::kSvg:
      surface.reset(
          cairo_svg_surface_create_for_stream(writeToFile, file, layout.width, layout.height));
      break;
    case PictureFormat::kPdf:
      surface.reset(
          cairo_pdf_surface_create_for_stream(writeToFile, file, layout.width, layout.height));
      break;
  }
  cairo_status_t status = cairo_surface_status(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) {
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    draw(context.get(), layout, scene);
    status = cairo_status(context.get());
  }
  if (status == CAIRO_STATUS_SUCCESS) {
    if (format == PictureFormat::kPng)
      status = cairo_surface_write_to_png_stream(surface.get(), writeToFile, file);
    cairo_surface_finish(surface.get());
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
  }
  surface.reset();
  const bool closed = std::fclose(file) == 0;
  if (status != CAIRO_STATUS_SUCCESS || !closed) {
    std::remove(temporary.c_str());
    return base::Status::error("cannot write the picture " + path + ": " +
                               (status != CAIRO_STATUS_SUCCESS
                                    ? cairo_status_to_string(status)
                                    : "the file could not be completed"));
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    return base::Status::error("cannot write the picture " + path + ": " + reason);
  }
  return base::Status::ok();
}

}  // namespace plot
