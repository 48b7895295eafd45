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
  ASSERT_TRUE(plot::renderScene(scene, file("known.png"), plot::PictureFormat::kPng).isOk());
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
  ASSERT_TRUE(plot::renderScene(scene, file("wrap.png"), plot::PictureFormat::kPng).isOk());
  const Png png = readPng(file("wrap.png"));
  EXPECT_TRUE(png.blueNear(layout.toPixel({4, 0})));
  EXPECT_FALSE(png.blueNear(layout.toPixel({0, 4})));
  EXPECT_FALSE(png.blueNear(layout.toPixel({0, -4})));
}

TEST_F(RenderSceneTest, SvgHasOnePathPerSegmentInTheLayerColour) {
  plot::Scene scene = knownScene();
  scene.layers[0].dots = {{0, 0}, {10, 0}};
  ASSERT_TRUE(plot::renderScene(scene, file("known.svg"), plot::PictureFormat::kSvg).isOk());
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
  ASSERT_TRUE(plot::renderScene(knownScene(), file("known.pdf"), plot::PictureFormat::kPdf).isOk());
  EXPECT_TRUE(fileText(file("known.pdf")).starts_with("%PDF-"));
}

TEST_F(RenderSceneTest, FailureNamesTheFileAndLeavesNothingBehind) {
  const std::string path = file("missing/known.png");
  const base::Status drawn = plot::renderScene(knownScene(), path, plot::PictureFormat::kPng);
  ASSERT_FALSE(drawn.isOk());
  const std::string& message = drawn.message();
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_empty(folder_));
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
  EXPECT_GE(large.width, 4000);
  EXPECT_LE(large.width, 4500);
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

TEST(PictureFormat, ByNameAndByExtension) {
  EXPECT_EQ(plot::pictureFormatOfPath("a/b.png"), plot::PictureFormat::kPng);
  EXPECT_EQ(plot::pictureFormatOfPath("b.SVG"), plot::PictureFormat::kSvg);
  EXPECT_EQ(plot::pictureFormatOfPath("x.v2/b.pdf"), plot::PictureFormat::kPdf);
  EXPECT_EQ(plot::pictureFormatOfPath("x.png/b"), std::nullopt);
  EXPECT_EQ(plot::pictureFormatOfPath("b.jpg"), std::nullopt);
  EXPECT_EQ(plot::pictureFormatNamed("Pdf"), plot::PictureFormat::kPdf);
}

}  // namespace
