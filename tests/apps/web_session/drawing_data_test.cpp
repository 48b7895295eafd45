// The drawing as sent to the page: the binary layout and the layers.

#include "web_session/drawing_data.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_drawing.h"

namespace {

template <class T>
T at(const std::string& bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

TEST(DrawingDataTest, EncodesLinesArcsAndOthersInTheAgreedLayout) {
  const auto database = crossingDrawing();
  const web::DrawingData data = web::DrawingData::read(*database);
  ASSERT_EQ(data.lines.size(), 2u);
  ASSERT_EQ(data.arcs.size(), 1u);
  const std::string bytes = data.encode();
  ASSERT_EQ(bytes.substr(0, 4), "TVDR");
  EXPECT_EQ(at<std::uint32_t>(bytes, 4), 1u);
  const auto lines = at<std::uint32_t>(bytes, 8), arcs = at<std::uint32_t>(bytes, 12),
             others = at<std::uint32_t>(bytes, 16);
  EXPECT_EQ(lines, 2u);
  EXPECT_EQ(arcs, 1u);
  // The circle as segments, the text as a cross.
  EXPECT_GT(others, 2u);
  const std::size_t total = lines + arcs + others;
  EXPECT_EQ(bytes.size(),
            32 + lines * 32 + arcs * 40 + others * 16 + total * 4 + (lines + arcs) * 4);
  // Doubles as the database holds them.
  EXPECT_EQ(at<double>(bytes, 32), 0.1);
  EXPECT_EQ(at<double>(bytes, 32 + 3 * 8), 700.7);
  EXPECT_EQ(at<double>(bytes, 32 + 32 + 2 * 8), 990.1);
  const std::size_t arc = 32 + lines * 32;
  EXPECT_EQ(at<double>(bytes, arc + 2 * 8), 123.456);
  EXPECT_EQ(at<double>(bytes, arc + 4 * 8), 3.0);
  // Others relative to the extents' minimum, which the circle sets.
  EXPECT_EQ(data.extents.minX, -60.0);
  const std::size_t layerIndexes = arc + arcs * 40 + others * 16;
  const std::uint32_t axis = at<std::uint32_t>(bytes, layerIndexes);
  const std::uint32_t wall = at<std::uint32_t>(bytes, layerIndexes + 2 * 4);
  EXPECT_EQ(data.layers.at(axis).name, "AXIS");
  EXPECT_EQ(data.layers.at(wall).name, "WALL");
  EXPECT_EQ(at<std::uint32_t>(bytes, layerIndexes + total * 4 + 2 * 4), 2u);
}

TEST(DrawingDataTest, CountsPerLayerAndNumbersLinesBeforeArcs) {
  const auto database = crossingDrawing();
  const web::DrawingData data = web::DrawingData::read(*database);
  ASSERT_EQ(data.layers.size(), 3u);  // AXIS, WALL, 0 (the text)
  struct Expected {
    const char* name;
    std::uint32_t lines, arcs, others;
  };
  const Expected expected[] = {{"AXIS", 2, 0, 0}, {"WALL", 0, 1, 1}, {"0", 0, 0, 1}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(data.layers[i].name, expected[i].name);
    EXPECT_EQ(data.layers[i].lines, expected[i].lines) << expected[i].name;
    EXPECT_EQ(data.layers[i].arcs, expected[i].arcs) << expected[i].name;
    EXPECT_EQ(data.layers[i].others, expected[i].others) << expected[i].name;
  }
  EXPECT_EQ(data.handles, (std::vector<unsigned long long>{0x1A, 0x1B, 0x2F}));
  const auto& entities = database->entities();
  EXPECT_EQ(data.indexOfId.at(entities[3]->objectId().value()), 2u);
  EXPECT_EQ(data.indexOfId.count(entities[2]->objectId().value()), 0u);
}

TEST(DrawingDataTest, ArcExtentsReachTheQuadrantsTheArcPasses) {
  cad::Database database;
  // A quarter from 45 to 135 degrees passes the top only.
  database.emplace<AcDbArc>(AcGePoint3d(0, 0, 0), 10.0, 0.25 * 3.141592653589793,
                            0.75 * 3.141592653589793);
  const web::Box box = web::DrawingData::read(database).extents;
  EXPECT_DOUBLE_EQ(box.maxY, 10.0);
  EXPECT_NEAR(box.minY, 7.0710678, 1e-6);
  EXPECT_NEAR(box.maxX, 7.0710678, 1e-6);
}

TEST(DrawingDataTest, AciColoursOfTheFixedIndexes) {
  struct Case {
    int index;
    std::array<std::uint8_t, 3> rgb;
  };
  const Case cases[] = {{1, {255, 0, 0}},     {3, {0, 255, 0}},       {5, {0, 0, 255}},
                        {7, {255, 255, 255}}, {8, {128, 128, 128}},   {10, {255, 0, 0}},
                        {0, {255, 255, 255}}, {300, {255, 255, 255}}, {250, {51, 51, 51}}};
  for (const Case& c : cases) EXPECT_EQ(web::aciColour(c.index), c.rgb) << c.index;
}

}  // namespace
