// Pictures are checked where it matters: their size, a few pixels (line work
// where it must be, ground where nothing is) and, for SVG, the paths drawn.

#include "plot/render_scene.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "plot/arc_geometry.h"
#include "plot/picture_format.h"
#include "plot/picture_layout.h"

namespace {

namespace fs = std::filesystem;
using plot::Point;

constexpr double kPi = 3.14159265358979323846;
constexpr plot::Colour kBlue{0.0, 0.0, 1.0};

struct Png {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface{nullptr,
                                                                             cairo_surface_destroy};

  int width() const { return cairo_image_surface_get_width(surface.get()); }
  int height() const { return cairo_image_surface_get_height(surface.get()); }
  // The pixel at (x, y) as 0xRRGGBB.
  unsigned rgb(double x, double y) const {
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        data + static_cast<std::ptrdiff_t>(std::lround(y)) * stride);
    return row[std::lround(x)] & 0xFFFFFFu;
  }
  // True when one of the pixels within 1 of (x, y) is mostly blue.
  bool blueNear(Point p) const {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const unsigned c = rgb(p.x + dx, p.y + dy);
        if ((c & 0xFF) > 0xC0 && (c >> 16) < 0x80) return true;
      }
    return false;
  }
};

Png readPng(const std::string& path) {
  Png png;
  png.surface.reset(cairo_image_surface_create_from_png(path.c_str()));
  cairo_surface_flush(png.surface.get());
  return png;
}

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Draws `scene` into the file `path` through a sink writing it as it comes.
base::Status draw(const plot::Scene& scene, const std::string& path, plot::PictureFormat format) {
  std::ofstream file(path, std::ios::binary);
  return plot::renderScene(scene, format, [&](std::string_view bytes) {
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
  });
}

class RenderSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("plot_test_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

// A 10 by 6 grid: two lines crossing, and a quarter arc of radius 3 about
// (0, 0) from 0 to 90 degrees.
plot::Scene knownScene() {
  plot::Scene scene;
  scene.title = "known";
  plot::Layer layer;
  layer.name = "grid";
  layer.colour = kBlue;
  layer.lines = {{{0, 0}, {10, 0}}, {{5, -3}, {5, 3}}};
  layer.arcs = {{{0, 0}, 3.0, 0.0, kPi / 2}};
  scene.layers.push_back(layer);
  return scene;
}

TEST_F(RenderSceneTest, PngHasTheLayoutsSizeAndLineWorkWhereItBelongs) {
  const plot::Scene scene = knownScene();
  const plot::PictureLayout layout = plot::layoutScene(scene);
  ASSERT_TRUE(draw(scene, file("known.png"), plot::PictureFormat::kPng).isOk());
  const Png png = readPng(file("known.png"));
  ASSERT_EQ(cairo_surface_status(png.surface.get()), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(png.width(), layout.width);
  EXPECT_EQ(png.height(), layout.height);

  struct Probe {
    const char* what;
    Point world;
    bool drawn;
  };
  const double d = 3.0 / std::sqrt(2.0);
  const Probe probes[] = {
      {"middle of the horizontal line", {7.5, 0}, true},
      {"upper part of the vertical line", {5, 2}, true},
      {"the arc at 45 degrees", {d, d}, true},
      {"the arc's other side, 225 degrees: not drawn", {-d, -d}, false},
      {"the arc at 315 degrees: not drawn (it runs counter-clockwise)", {d, -d}, false},
      {"inside the grid where nothing is", {8, 2}, false},
  };
  for (const Probe& probe : probes)
    EXPECT_EQ(png.blueNear(layout.toPixel(probe.world)), probe.drawn) << probe.what;
  // Ground, far from everything: white.
  EXPECT_EQ(png.rgb(layout.toPixel({8, -2.5}).x, layout.toPixel({8, -2.5}).y), 0xFFFFFFu);
}

TEST_F(RenderSceneTest, ArcThroughDirectionZeroIsTheShortWayRound) {
  plot::Scene scene;
  plot::Layer layer;
  layer.colour = kBlue;
  // 350 to 10 degrees: 20 degrees through direction 0.
  layer.arcs = {{{0, 0}, 4.0, 350 * kPi / 180, 10 * kPi / 180}};
  layer.lines = {{{-4, -4}, {-4, 4}}};  // gives the view its size
  scene.layers.push_back(layer);
  const plot::PictureLayout layout = plot::layoutScene(scene);
  ASSERT_TRUE(draw(scene, file("wrap.png"), plot::PictureFormat::kPng).isOk());
  const Png png = readPng(file("wrap.png"));
  EXPECT_TRUE(png.blueNear(layout.toPixel({4, 0})));
  EXPECT_FALSE(png.blueNear(layout.toPixel({0, 4})));
  EXPECT_FALSE(png.blueNear(layout.toPixel({0, -4})));
}

TEST_F(RenderSceneTest, SvgHasOnePathPerSegmentInTheLayerColour) {
  plot::Scene scene = knownScene();
  scene.layers[0].dots = {{0, 0}, {10, 0}};
  ASSERT_TRUE(draw(scene, file("known.svg"), plot::PictureFormat::kSvg).isOk());
  const std::string svg = fileText(file("known.svg"));
  ASSERT_NE(svg.find("<svg"), std::string::npos);
  // Strokes in pure blue: two lines, one arc, and the legend's swatch.
  int strokes = 0;
  for (auto at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) {
    const std::string element = svg.substr(at, svg.find('>', at) - at);
    if (element.find("stroke:rgb(0%,0%,100%)") != std::string::npos) ++strokes;
  }
  EXPECT_EQ(strokes, 4);
}

TEST_F(RenderSceneTest, PdfIsWritten) {
  ASSERT_TRUE(draw(knownScene(), file("known.pdf"), plot::PictureFormat::kPdf).isOk());
  EXPECT_TRUE(fileText(file("known.pdf")).starts_with("%PDF-"));
}

TEST(RenderScene, ASinkThatRefusesEndsThePictureAsFailed) {
  for (plot::PictureFormat format :
       {plot::PictureFormat::kPng, plot::PictureFormat::kSvg, plot::PictureFormat::kPdf}) {
    std::size_t offered = 0;
    const base::Status drawn = plot::renderScene(knownScene(), format, [&](std::string_view) {
      ++offered;
      return false;
    });
    ASSERT_FALSE(drawn.isOk()) << plot::pictureFormatName(format);
    EXPECT_EQ(drawn.message(), "the picture's bytes could not be written")
        << plot::pictureFormatName(format);
    EXPECT_GE(offered, 1u);
  }
}

TEST(PictureLayout, SizedToTheLineWork) {
  // A house: two 10 m lines. A campus: 500 by 500 axes 1.8 m apart.
  plot::Scene house = knownScene();
  plot::Scene campus;
  campus.layers.emplace_back();
  for (int k = 0; k < 500; ++k) {
    const double at = k * 1.8;
    for (int s = 0; s + 1 < 500; ++s) {
      campus.layers[0].lines.push_back({{at, s * 1.8}, {at, (s + 1) * 1.8}});
      campus.layers[0].lines.push_back({{s * 1.8, at}, {(s + 1) * 1.8, at}});
    }
  }
  const plot::PictureLayout small = plot::layoutScene(house);
  const plot::PictureLayout large = plot::layoutScene(campus);
  EXPECT_GE(small.width, 600);
  EXPECT_LE(small.width, 1200);
  EXPECT_EQ(large.drawingWidth, 4000);
  // Margins and legend grow with the text.
  EXPECT_LE(large.width, 5500);
  // Neighbouring campus axes stay apart by several pixels.
  EXPECT_GE(1.8 * large.pixelsPerUnit, 4.0);
  // World y grows upwards on the picture.
  EXPECT_LT(small.toPixel({0, 1}).y, small.toPixel({0, 0}).y);
}

TEST(ArcGeometry, BoundPointsIncludeTheQuarterDirectionsPassed) {
  struct Case {
    double startDegrees, endDegrees;
    double minX, maxX, minY, maxY;
  };
  const Case cases[] = {
      {0, 90, 0, 1, 0, 1},
      {80, 100, std::cos(100 * kPi / 180), std::cos(80 * kPi / 180), std::sin(80 * kPi / 180), 1},
      {350, 10, std::cos(10 * kPi / 180), 1, std::sin(-10 * kPi / 180), std::sin(10 * kPi / 180)},
      {90, 0, -1, 1, -1, 1},
  };
  for (const Case& c : cases) {
    const plot::Arc arc{{0, 0}, 1.0, c.startDegrees * kPi / 180, c.endDegrees * kPi / 180};
    double minX = 9, maxX = -9, minY = 9, maxY = -9;
    plot::forEachArcBoundPoint(arc, [&](Point p) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    });
    const std::string what = std::to_string(c.startDegrees) + " to " + std::to_string(c.endDegrees);
    EXPECT_NEAR(minX, c.minX, 1e-9) << what;
    EXPECT_NEAR(maxX, c.maxX, 1e-9) << what;
    EXPECT_NEAR(minY, c.minY, 1e-9) << what;
    EXPECT_NEAR(maxY, c.maxY, 1e-9) << what;
  }
}

// An arc's angles are reduced once, by a remainder: an angle of 1e300
// radians takes no longer than one of 1 (a loop of quarter turns once took
// time in proportion to the angle).
TEST(ArcGeometry, AnglesOfAnySizeAreReducedOnce) {
  EXPECT_DOUBLE_EQ(plot::reducedRadians(-kPi / 2), 1.5 * kPi);
  EXPECT_DOUBLE_EQ(plot::reducedRadians(5 * kPi), std::fmod(5 * kPi, 2 * kPi));
  EXPECT_EQ(plot::reducedRadians(-1e-300), 0.0);
  EXPECT_TRUE(std::isnan(plot::reducedRadians(INFINITY)));
  for (double start : {1e10, 1e300, -1e300}) {
    const plot::Arc huge{{0, 0}, 2.0, start, start + 1.0};
    const plot::Arc reduced{
        {0, 0}, 2.0, plot::reducedRadians(start), plot::reducedRadians(start + 1.0)};
    std::vector<Point> hugeBounds, reducedBounds;
    plot::forEachArcBoundPoint(huge, [&](Point p) { hugeBounds.push_back(p); });
    plot::forEachArcBoundPoint(reduced, [&](Point p) { reducedBounds.push_back(p); });
    EXPECT_EQ(hugeBounds, reducedBounds) << start;
    EXPECT_GE(plot::arcSweep(huge), 0.0);
    EXPECT_LT(plot::arcSweep(huge), 2 * kPi);
  }
  // Not finite: nothing bounds it, and no picture takes it in.
  int visited = 0;
  plot::forEachArcBoundPoint(plot::Arc{{0, 0}, 1.0, NAN, 1.0}, [&](Point) { ++visited; });
  EXPECT_EQ(visited, 0);
}

// The largest doubles lay out: no width overflows to infinity and no NaN
// reaches an integer (the picture was once undefined behaviour and then a
// cairo failure).
TEST_F(RenderSceneTest, TheLargestCoordinatesLayOutAndDraw) {
  plot::Scene scene;
  scene.layers.emplace_back();
  scene.layers[0].colour = kBlue;
  scene.layers[0].lines = {{{-1.7976931348623157e308, 0}, {1.7976931348623157e308, 0}},
                           {{0, -1e308}, {0, 1e308}}};
  scene.layers[0].arcs = {{{1e308, 1e308}, 1e307, 1e300, 2.0}};
  scene.layers[0].dots = {{-1.7976931348623157e308, -1.7976931348623157e308}, {NAN, 0}};
  scene.marks = {{{0, 0}, plot::MarkShape::kCross, kBlue, "origin"},
                 {{INFINITY, 0}, plot::MarkShape::kRing, kBlue, ""}};
  const plot::PictureLayout layout = plot::layoutScene(scene);
  EXPECT_TRUE(std::isfinite(layout.pixelsPerUnit));
  EXPECT_GT(layout.pixelsPerUnit, 0.0);
  EXPECT_GE(layout.width, 600);
  EXPECT_LE(layout.width, 6000);
  EXPECT_LE(layout.height, 6000);
  for (Point world : {Point{-1.7976931348623157e308, -1.7976931348623157e308},
                      Point{1.7976931348623157e308, 1e308}}) {
    const Point pixel = layout.toPixel(world);
    EXPECT_GE(pixel.x, 0.0);
    EXPECT_LE(pixel.x, layout.width);
    EXPECT_GE(pixel.y, 0.0);
    EXPECT_LE(pixel.y, layout.height);
  }
  for (auto format : {plot::PictureFormat::kPng, plot::PictureFormat::kSvg})
    EXPECT_TRUE(draw(scene, file("huge"), format).isOk()) << plot::pictureFormatName(format);
  // Both axes are drawn through the middle of the picture.
  ASSERT_TRUE(draw(scene, file("huge.png"), plot::PictureFormat::kPng).isOk());
  const Png png = readPng(file("huge.png"));
  EXPECT_TRUE(png.blueNear(layout.toPixel({1e307, 0})));
  EXPECT_TRUE(png.blueNear(layout.toPixel({0, -5e307})));
}

// Text is sized for the picture shown whole: on a picture four thousand
// pixels across, the title is several times as tall as on a small one.
TEST_F(RenderSceneTest, LabelsGrowWithTheSizeOfThePicture) {
  const auto titleRows = [&](const plot::Scene& scene, const std::string& name) {
    const plot::PictureLayout layout = plot::layoutScene(scene);
    EXPECT_TRUE(draw(scene, file(name), plot::PictureFormat::kPng).isOk());
    const Png png = readPng(file(name));
    int rows = 0;
    for (int y = 0; y < static_cast<int>(layout.top); ++y) {
      bool ink = false;
      for (int x = static_cast<int>(layout.left); x < png.width() && !ink; ++x)
        ink = (png.rgb(x, y) & 0xFF) < 0x80;
      rows += ink ? 1 : 0;
    }
    return rows;
  };
  plot::Scene small = knownScene();
  plot::Scene large = knownScene();
  large.layers[0].lines.clear();
  for (int k = 0; k < 400; ++k) {
    large.layers[0].lines.push_back({{k * 1.0, 0}, {k * 1.0 + 1.0, 0}});
    large.layers[0].lines.push_back({{0, k * 1.0}, {0, k * 1.0 + 1.0}});
  }
  const plot::PictureLayout largeLayout = plot::layoutScene(large);
  EXPECT_GE(largeLayout.drawingWidth, 3900);
  EXPECT_NEAR(largeLayout.textSize, 12.0 * largeLayout.drawingWidth / 1200.0, 1.0);
  EXPECT_EQ(plot::layoutScene(small).textSize, 12.0);
  const int smallRows = titleRows(small, "small.png");
  const int largeRows = titleRows(large, "large.png");
  EXPECT_GE(smallRows, 8);
  EXPECT_GE(largeRows, 5 * smallRows / 2) << smallRows;
}

// Line work under a pixel is drawn once per pixel and colour: ten thousand
// copies of a tiny segment and of a dot look exactly like one (and cost one).
// Long lines, the same in both, keep the layout the same.
TEST_F(RenderSceneTest, LineWorkUnderAPixelIsDrawnOnce) {
  plot::Scene once = knownScene();
  once.layers[0].lines.insert(once.layers[0].lines.end(), 30000, {{0, -2}, {10, -2}});
  once.layers[0].lines.push_back({{7.001, 1.001}, {7.002, 1.002}});
  once.layers[0].dots = {{8.0, 2.0}};
  plot::Scene many = once;
  many.layers[0].lines.insert(many.layers[0].lines.end(), 10000, {{7.001, 1.001}, {7.002, 1.002}});
  many.layers[0].dots.insert(many.layers[0].dots.end(), 10000, {8.0, 2.0});
  ASSERT_TRUE(draw(once, file("once.png"), plot::PictureFormat::kPng).isOk());
  ASSERT_TRUE(draw(many, file("many.png"), plot::PictureFormat::kPng).isOk());
  EXPECT_EQ(plot::layoutScene(once).pixelsPerUnit, plot::layoutScene(many).pixelsPerUnit);
  EXPECT_TRUE(fileText(file("once.png")) == fileText(file("many.png")));
}

// A PNG is drawn a band of rows at a time: line work crossing the bands'
// edges is whole on the picture.
TEST_F(RenderSceneTest, PngBandsJoinWithoutSeams) {
  plot::Scene scene;
  scene.layers.emplace_back();
  scene.layers[0].colour = kBlue;
  for (int k = 0; k < 300; ++k) scene.layers[0].lines.push_back({{0, k * 1.0}, {0, k + 1.0}});
  scene.layers[0].arcs = {{{0, 150}, 100.0, -kPi / 2, kPi / 2}};
  const plot::PictureLayout layout = plot::layoutScene(scene);
  ASSERT_GT(layout.height, 3 * 256);
  ASSERT_TRUE(draw(scene, file("tall.png"), plot::PictureFormat::kPng).isOk());
  const Png png = readPng(file("tall.png"));
  int missing = 0;
  for (int row = 0; row < layout.height; ++row) {
    const double y =
        layout.centreY + (layout.top + layout.drawingHeight / 2 - row) / layout.pixelsPerUnit;
    if (y < 1 || y > 299) continue;
    if (!png.blueNear(layout.toPixel({0, y}))) ++missing;
    const double x = std::sqrt(std::max(0.0, 100.0 * 100.0 - (y - 150) * (y - 150)));
    if (std::fabs(y - 150) < 90 && !png.blueNear(layout.toPixel({x, y}))) ++missing;
  }
  EXPECT_EQ(missing, 0);
}

TEST(RenderScene, VectorPicturesOfTooManySegmentsAreRefusedPngsAreNot) {
  plot::Scene scene = knownScene();
  // Lines that are not finite count, and cost nothing to pass over.
  scene.layers[0].lines.insert(scene.layers[0].lines.end(), plot::kVectorPictureSegmentLimit,
                               {{NAN, 0}, {1, 1}});
  std::size_t bytes = 0;
  const auto count = [&](std::string_view piece) {
    bytes += piece.size();
    return true;
  };
  const base::Status svg = plot::renderScene(scene, plot::PictureFormat::kSvg, count);
  ASSERT_FALSE(svg.isOk());
  EXPECT_EQ(svg.message(),
            "200003 lines, arcs and marks are more than an svg picture holds (200000); "
            "a PNG picture draws any number");
  EXPECT_EQ(bytes, 0u);
  EXPECT_TRUE(plot::renderScene(scene, plot::PictureFormat::kPng, count).isOk());
  EXPECT_GT(bytes, 0u);
}

TEST(PictureFormat, ByNameAndByExtension) {
  EXPECT_EQ(plot::pictureFormatOfPath("a/b.png"), plot::PictureFormat::kPng);
  EXPECT_EQ(plot::pictureFormatOfPath("b.SVG"), plot::PictureFormat::kSvg);
  EXPECT_EQ(plot::pictureFormatOfPath("x.v2/b.pdf"), plot::PictureFormat::kPdf);
  EXPECT_EQ(plot::pictureFormatOfPath("x.png/b"), std::nullopt);
  EXPECT_EQ(plot::pictureFormatOfPath("b.jpg"), std::nullopt);
  EXPECT_EQ(plot::pictureFormatNamed("Pdf"), plot::PictureFormat::kPdf);
}

}  // namespace
