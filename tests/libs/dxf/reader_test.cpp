#include "dxf/reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "drawing_text.h"
#include "dxf/object_coordinates.h"

namespace {

using cad::dxf::Entity;
using cad::dxf::EntityType;
using cad::dxf::ReadResult;

using namespace dxf_test;

// A drawing with an optional HEADER and the given ENTITIES groups.
std::string drawing(const Groups& entities, const Groups& header = {}) {
  std::string out;
  if (!header.empty()) out += section("HEADER", header);
  return out + section("ENTITIES", entities) + text({{0, "EOF"}});
}

double degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

TEST(DxfReader, ReadsLineAndArcInWorldCoordinates) {
  Collect sink;
  ReadResult result = read(drawing({{0, "LINE"},
                                    {5, "2F"},
                                    {8, "AXIS"},
                                    {10, "512345.678"},
                                    {20, "-3"},
                                    {30, "1"},
                                    {11, "7"},
                                    {21, "8"},
                                    {31, "9"},
                                    {0, "ARC"},
                                    {8, "AXIS"},
                                    {10, "1"},
                                    {20, "2"},
                                    {30, "0"},
                                    {40, "3"},
                                    {50, "-90"},
                                    {51, "450"}}),
                           sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 2u);
  const Entity& line = sink.entities[0];
  EXPECT_EQ(line.type, EntityType::kLine);
  EXPECT_EQ(line.handle, 0x2Fu);
  EXPECT_EQ(line.layer, "AXIS");
  EXPECT_EQ(line.start.x, 512345.678);
  EXPECT_EQ(line.start.y, -3.0);
  EXPECT_EQ(line.end.z, 9.0);
  const Entity& arc = sink.entities[1];
  EXPECT_EQ(arc.type, EntityType::kArc);
  EXPECT_EQ(arc.handle, 0u);
  EXPECT_EQ(arc.radius, 3.0);
  EXPECT_NEAR(degrees(arc.startAngle), 270.0, 1e-12);
  EXPECT_NEAR(degrees(arc.endAngle), 90.0, 1e-12);
  EXPECT_EQ(result.entityCount, 2u);
}

TEST(DxfReader, StoresArcsOfEveryExtrusionCounterClockwiseInXY) {
  struct Case {
    const char* label;
    Groups extrusion;
    double start, end;    // degrees in the file
    double cx, cy;        // expected world centre
    double wStart, wEnd;  // expected world angles, degrees
    bool warns;
  } cases[] = {
      {"default extrusion", {}, 30, 120, 10, 5, 30, 120, false},
      {"up", {{210, "0"}, {220, "0"}, {230, "2"}}, 30, 120, 10, 5, 30, 120, false},
      {"mirrored", {{210, "0"}, {220, "0"}, {230, "-1"}}, 30, 120, -10, 5, 60, 150, false},
      {"mirrored through 0",
       {{210, "0"}, {220, "0"}, {230, "-1"}},
       300,
       20,
       -10,
       5,
       160,
       240,
       false},
      {"mirrored ending at 180",
       {{210, "0"}, {220, "0"}, {230, "-1"}},
       0,
       90,
       -10,
       5,
       90,
       180,
       false},
      {"tilted about y", {{210, "1"}, {220, "0"}, {230, "0"}}, 0, 90, 0, 10, 90, 90, true},
  };
  for (const Case& c : cases) {
    Groups groups = {{0, "ARC"},
                     {10, "10"},
                     {20, "5"},
                     {30, "0"},
                     {40, "3"},
                     {50, std::to_string(c.start)},
                     {51, std::to_string(c.end)}};
    groups.insert(groups.end(), c.extrusion.begin(), c.extrusion.end());
    Collect sink;
    ReadResult result = read(drawing(groups), sink);
    ASSERT_TRUE(result.ok()) << c.label << ": " << result.status.message();
    ASSERT_EQ(sink.entities.size(), 1u) << c.label;
    const Entity& arc = sink.entities[0];
    EXPECT_NEAR(arc.position.x, c.cx, 1e-12) << c.label;
    EXPECT_NEAR(arc.position.y, c.cy, 1e-12) << c.label;
    EXPECT_NEAR(degrees(arc.startAngle), c.wStart, 1e-9) << c.label;
    EXPECT_NEAR(degrees(arc.endAngle), c.wEnd, 1e-9) << c.label;
    EXPECT_GE(arc.startAngle, 0.0) << c.label;
    EXPECT_LT(arc.endAngle, 2 * std::numbers::pi) << c.label;
    EXPECT_EQ(result.warnings.size(), c.warns ? 1u : 0u) << c.label;
    if (c.warns) {
      EXPECT_NE(result.warnings[0].find("test.dxf:"), std::string::npos);
      EXPECT_NE(result.warnings[0].find("not parallel to XY"), std::string::npos);
    }
  }
}

TEST(ObjectCoordinates, FollowsTheArbitraryAxisRule) {
  cad::dxf::ObjectCoordinates ocs;
  // Normal along +X: X axis is world Y, Y axis is world Z.
  ASSERT_TRUE(cad::dxf::ObjectCoordinates::make({5, 0, 0}, ocs));
  cad::dxf::Point p = ocs.toWorld({1, 2, 3});
  EXPECT_NEAR(p.x, 3, 1e-15);
  EXPECT_NEAR(p.y, 1, 1e-15);
  EXPECT_NEAR(p.z, 2, 1e-15);
  EXPECT_FALSE(ocs.isParallelToXY());
  // Close to Z (below 1/64): X axis from world Y cross N.
  ASSERT_TRUE(cad::dxf::ObjectCoordinates::make({0.01, 0, 1}, ocs));
  EXPECT_GT(ocs.xAxis().x, 0.99);
  EXPECT_FALSE(cad::dxf::ObjectCoordinates::make({0, 0, 0}, ocs));
}

TEST(DxfReader, FoldsVerticesAndAttributesIntoTheirOwners) {
  Collect sink;
  ReadResult result = read(
      drawing({{0, "POLYLINE"},   {8, "P"},      {66, "1"},     {70, "1"},     {10, "0"},
               {20, "0"},         {30, "0"},     {0, "VERTEX"}, {10, "1"},     {20, "2"},
               {0, "VERTEX"},     {10, "3"},     {20, "4"},     {0, "VERTEX"}, {70, "128"},
               {0, "SEQEND"},     {0, "INSERT"}, {2, "DOOR"},   {66, "1"},     {10, "5"},
               {20, "6"},         {0, "ATTRIB"}, {1, "tag"},    {0, "SEQEND"}, {0, "LWPOLYLINE"},
               {90, "999999999"}, {70, "0"},     {38, "2"},     {10, "1"},     {20, "1"},
               {10, "2"},         {20, "1"},     {0, "POINT"},  {10, "1"}}),
      sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 4u);
  const Entity& polyline = sink.entities[0];
  EXPECT_EQ(polyline.type, EntityType::kPolyline);
  EXPECT_TRUE(polyline.closed);
  ASSERT_EQ(polyline.vertices.size(), 2u);  // the face record is no vertex
  EXPECT_EQ(polyline.vertices[1].x, 3.0);
  EXPECT_EQ(polyline.vertices[1].y, 4.0);
  EXPECT_EQ(sink.entities[1].type, EntityType::kInsert);
  EXPECT_EQ(sink.entities[1].text, "DOOR");
  EXPECT_EQ(sink.entities[1].position.x, 5.0);
  const Entity& lw = sink.entities[2];
  EXPECT_EQ(lw.type, EntityType::kLwPolyline);
  ASSERT_EQ(lw.vertices.size(), 2u);  // not the 999999999 the count claims
  EXPECT_EQ(lw.vertices[1].x, 2.0);
  EXPECT_EQ(lw.vertices[1].z, 2.0);
  EXPECT_EQ(sink.entities[3].type, EntityType::kPoint);
}

TEST(DxfReader, LeavesOutPaperSpaceAndBlocksAndKeepsOtherTypes) {
  std::string contents = text({{0, "SECTION"},
                               {2, "BLOCKS"},
                               {0, "BLOCK"},
                               {2, "B"},
                               {0, "LINE"},
                               {8, "INBLOCK"},
                               {0, "ENDBLK"},
                               {0, "ENDSEC"}}) +
                         drawing({{0, "LINE"},
                                  {67, "1"},
                                  {8, "PAPER"},
                                  {0, "HATCH"},
                                  {8, "H"},
                                  {10, "x-ignored"},
                                  {0, "POLYLINE"},
                                  {67, "1"},
                                  {0, "VERTEX"},
                                  {0, "SEQEND"},
                                  {0, "MTEXT"},
                                  {3, "first "},
                                  {3, "second "},
                                  {1, "last"},
                                  {0, "TEXT"},
                                  {1, "  spaced  "}});
  Collect sink;
  ReadResult result = read(contents, sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 3u);
  EXPECT_EQ(sink.entities[0].type, EntityType::kOther);
  EXPECT_EQ(sink.entities[0].typeName, "HATCH");
  EXPECT_EQ(sink.entities[0].layer, "H");
  EXPECT_EQ(sink.entities[1].text, "first second last");
  EXPECT_EQ(sink.entities[2].text, "  spaced  ");
}

TEST(DxfReader, ReportsMalformedDrawingsWithFileAndLine) {
  struct Case {
    const char* label;
    std::string contents;
    const char* message;
  } cases[] = {
      {"empty", "", "test.dxf: the file is empty"},
      {"not DXF", "hello\nworld\n", "test.dxf:1: not a DXF drawing"},
      {"no section", "  0\nLINE\n  0\nEOF\n", "test.dxf:1: not a DXF drawing"},
      {"no EOF", text({{0, "SECTION"}, {2, "HEADER"}, {0, "ENDSEC"}}),
       "test.dxf:6: the file ends without 0/EOF"},
      {"no EOF in entities", text({{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}}),
       "test.dxf:6: the file ends without 0/EOF"},
      {"binary with a damaged first line", std::string("AutoCAD Binary DXF\n\x1a\0", 21),
       "test.dxf: binary DXF whose first line is damaged"},
      {"bad number", drawing({{0, "LINE"}, {10, "1.5.2"}}),
       "test.dxf:8: value \"1.5.2\" of group 10 is not a number"},
      {"empty number", drawing({{0, "ARC"}, {40, ""}}), "test.dxf:8: value \"\" of group 40"},
      {"bad handle", drawing({{0, "LINE"}, {5, "XYZ"}}), "test.dxf:8: handle \"XYZ\""},
      {"vertex alone", drawing({{0, "VERTEX"}}), "test.dxf:5: VERTEX outside a POLYLINE"},
      {"seqend alone", drawing({{0, "SEQEND"}}), "test.dxf:5: SEQEND without"},
      {"polyline unended", drawing({{0, "POLYLINE"}, {0, "VERTEX"}, {0, "LINE"}}),
       "test.dxf:5: POLYLINE is not ended by SEQEND (found LINE at line 9)"},
      {"polyline at end", drawing({{0, "POLYLINE"}}),
       "test.dxf:5: POLYLINE is not ended by SEQEND"},
      {"no ENDSEC", text({{0, "SECTION"}, {2, "ENTITIES"}, {0, "LINE"}, {0, "EOF"}}),
       "has no ENDSEC"},
      {"negative radius", drawing({{0, "ARC"}, {40, "-1"}}),
       "test.dxf:5: ARC has a negative radius"},
      {"zero extrusion", drawing({{0, "ARC"}, {210, "0"}, {220, "0"}, {230, "0"}}),
       "zero extrusion"},
      {"section without name", text({{0, "SECTION"}, {0, "ENDSEC"}, {0, "EOF"}}),
       "test.dxf:3: SECTION without its name"},
      {"stray group", text({{0, "SECTION"}, {2, "X"}, {0, "ENDSEC"}, {8, "0"}, {0, "EOF"}}),
       "test.dxf:7: expected group 0"},
  };
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = read(c.contents, sink);
    ASSERT_FALSE(result.ok()) << c.label;
    EXPECT_NE(result.status.message().find(c.message), std::string::npos)
        << c.label << ": " << result.status.message();
  }
}

// A first group that cannot be read says the file is no drawing, at the
// place the group reader found, whatever the file is called.
TEST(DxfReader, NamesAnUnreadableFirstGroupAsNoDrawingAtItsPlace) {
  const std::string binary = std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x55";
  struct Case {
    std::string fileName;
    std::string contents;
    std::string message;
  } cases[] = {
      {"plan.dxf", "ten\n1\n",
       "plan.dxf:1: not a DXF drawing: group code \"ten\" is not an integer"},
      {"a: b:2.dxf", "  0\n", "a: b:2.dxf:1: not a DXF drawing: the file ends after group code 0"},
      {"", "ten\n1\n", ":1: not a DXF drawing: group code \"ten\" is not an integer"},
      {"plan.dxf", binary,
       "plan.dxf: byte 22: not a DXF drawing: group code 85 is not a DXF group code (corrupt?)"},
      {"x: byte 3.dxf", binary,
       "x: byte 3.dxf: byte 22: not a DXF drawing: group code 85 is not a DXF group code"},
      {"", binary, ": byte 22: not a DXF drawing: group code 85 is not a DXF group code"},
  };
  for (const Case& c : cases) {
    Collect sink;
    const ReadResult result = cad::dxf::readDxf(c.contents, c.fileName, sink);
    ASSERT_FALSE(result.ok()) << c.message;
    EXPECT_EQ(result.status.message().rfind(c.message, 0), 0u) << result.status.message();
  }
}

TEST(DxfReader, ReadsTheFixturesOfEveryVersionInFileOrder) {
  const std::vector<EntityType> common = {
      EntityType::kLine, EntityType::kArc,    EntityType::kCircle,  EntityType::kPoint,
      EntityType::kText, EntityType::kInsert, EntityType::kPolyline};
  const std::vector<EntityType> later = {EntityType::kLwPolyline, EntityType::kMText,
                                         EntityType::kOther};
  struct Case {
    const char* file;
    const char* version;
    bool later;
  } cases[] = {{"r12.dxf", "AC1009", false},
               {"r2000.dxf", "AC1015", true},
               {"r2000_crlf.dxf", "AC1015", true},
               {"r2010.dxf", "AC1024", true}};
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = cad::dxf::readDxfFile(dataPath(c.file), sink);
    ASSERT_TRUE(result.ok()) << c.file << ": " << result.status.message();
    EXPECT_EQ(result.version, c.version) << c.file;
    std::vector<EntityType> expected = common;
    if (c.later) expected.insert(expected.end(), later.begin(), later.end());
    std::vector<EntityType> types;
    for (const Entity& e : sink.entities) types.push_back(e.type);
    EXPECT_EQ(types, expected) << c.file;
    ASSERT_GE(sink.entities.size(), 2u);
    EXPECT_EQ(sink.entities[0].layer, "AXIS") << c.file;
    EXPECT_EQ(sink.entities[0].end.x, 10000.0) << c.file;
    EXPECT_NE(sink.entities[0].handle, 0u) << c.file;
    EXPECT_NEAR(degrees(sink.entities[1].startAngle), 30.0, 1e-12) << c.file;
    EXPECT_EQ(sink.entities[4].text, "hello world") << c.file;
    EXPECT_EQ(sink.entities[5].text, "MARK") << c.file;
    for (const Entity& e : sink.entities) EXPECT_NE(e.layer, "PAPER") << c.file;
  }
}

// Binary DXF gives the number as a 16-bit integer, not as text: it was read
// as no unit at all.
TEST(DxfReader, ReadsTheDeclaredUnitOfBinaryDrawings) {
  for (const char* file : {"ascii_r2000.dxf", "binary_r2000.dxf", "binary_r2018.dxf"}) {
    Collect sink;
    const ReadResult result = cad::dxf::readDxfFile(dataPath(file), sink);
    ASSERT_TRUE(result.ok()) << result.status.message();
    EXPECT_EQ(result.insUnits, std::optional<int>(6)) << file;
  }
}

TEST(DxfReader, ReadsTheDeclaredUnitWhenTheHeaderGivesANumber) {
  const struct {
    const char* value;
    std::optional<int> units;
  } cases[] = {{"4", 4}, {" 6 ", 6}, {"x", std::nullopt}, {nullptr, std::nullopt}};
  for (const auto& c : cases) {
    Groups header = {{9, "$ACADVER"}, {1, "AC1027"}};
    if (c.value != nullptr) header.insert(header.end(), {{9, "$INSUNITS"}, {70, c.value}});
    Collect sink;
    const ReadResult result = read(drawing({}, header), sink);
    ASSERT_TRUE(result.ok()) << result.status.message();
    EXPECT_EQ(result.insUnits, c.units) << (c.value ? c.value : "absent");
  }
}

TEST(DxfReader, ReadsChineseNamesFromLegacyAndUnicodeDrawings) {
  const std::string axis = "\xE8\xBD\xB4\xE7\xBA\xBF";               // 轴线
  const std::string floor = "\xE6\xA0\x87\xE5\x87\x86\xE5\xB1\x82";  // 标准层
  for (const char* file : {"chinese_ansi_936.dxf", "chinese_r2010.dxf", "chinese_escaped.dxf"}) {
    Collect sink;
    ReadResult result = cad::dxf::readDxfFile(dataPath(file), sink);
    ASSERT_TRUE(result.ok()) << file << ": " << result.status.message();
    ASSERT_GE(sink.entities.size(), 1u) << file;
    EXPECT_EQ(sink.entities[0].layer, axis) << file;
    if (sink.entities.size() > 1) {
      EXPECT_EQ(sink.entities[1].text, floor) << file;
    }
  }
}

TEST(DxfReader, KeepsLongTextLinesWhole) {
  Collect sink;
  ReadResult result = cad::dxf::readDxfFile(dataPath("long_lines.dxf"), sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 3u);
  EXPECT_EQ(sink.entities[0].text.size(), 5000u);
  EXPECT_EQ(sink.entities[0].text.substr(0, 3), "abc");
  EXPECT_EQ(sink.entities[1].text, std::string(3000, 'M'));
  EXPECT_EQ(sink.entities[2].type, EntityType::kLine);
  EXPECT_EQ(sink.entities[2].end.y, 4.0);
}

TEST(DxfReader, RefusesBrokenFixturesNamingFileAndLine) {
  struct Case {
    const char* file;
    const char* message;
  } cases[] = {
      {"truncated.dxf", "the file ends"},
      {"non_numeric.dxf", "value \"12.5abc\" of group 10 is not a number"},
      {"bad_group_code.dxf", "group code \"ten\" is not an integer"},
      {"garbage.dxf", "not a DXF drawing"},
      {"missing.dxf", "cannot open"},
      {"", "not a regular file"},  // the folder itself
  };
  for (const Case& c : cases) {
    Collect sink;
    std::string path = dataPath(c.file);
    ReadResult result = cad::dxf::readDxfFile(path, sink);
    ASSERT_FALSE(result.ok()) << c.file;
    EXPECT_EQ(result.status.message().rfind(path, 0), 0u) << result.status.message();
    EXPECT_NE(result.status.message().find(c.message), std::string::npos)
        << c.file << ": " << result.status.message();
  }
  // The line of a value error is the line of the value.
  Collect sink;
  ReadResult result = cad::dxf::readDxfFile(dataPath("non_numeric.dxf"), sink);
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.status.message().find("non_numeric.dxf:"), std::string::npos);
}

// Every prefix and many random mutations of a real drawing either read or
// fail with a message; none may crash (run under the sanitizers too).
TEST(DxfReader, SurvivesTruncatedAndMutatedInput) {
  Collect first;
  std::string path = dataPath("r2000.dxf");
  ASSERT_TRUE(cad::dxf::readDxfFile(path, first).ok());
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string original;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) original.append(buffer, n);
  std::fclose(f);

  std::size_t accepted = 0;
  for (std::size_t length = 0; length < original.size(); length += 7) {
    Collect sink;
    ReadResult result =
        cad::dxf::readDxf(std::string_view(original).substr(0, length), "cut", sink);
    if (result.ok()) {
      ++accepted;
      std::string_view cut = std::string_view(original).substr(0, length);
      while (!cut.empty() && (cut.back() == '\n' || cut.back() == '\r')) cut.remove_suffix(1);
      EXPECT_TRUE(cut.ends_with("ENDSEC")) << length;
      ASSERT_FALSE(result.warnings.empty()) << length;
      EXPECT_NE(result.warnings.back().find("without 0/EOF"), std::string::npos);
    } else {
      EXPECT_EQ(result.status.message().rfind("cut", 0), 0u);
    }
  }
  // Nothing short of the final 0/EOF is a drawing, but for the drawing cut
  // right after a section that follows its entities (here OBJECTS).
  EXPECT_LE(accepted, 2u);

  std::mt19937 random(936);
  const char noise[] = {'\n', '\r', ' ', '0', '9', '-', '.', 'e', 'A', '\0', '\xFF'};
  for (int round = 0; round < 1500; ++round) {
    std::string mutated = original;
    for (int k = 0; k < 4; ++k) {
      std::size_t at = random() % mutated.size();
      switch (random() % 3) {
        case 0:
          mutated[at] = noise[random() % sizeof noise];
          break;
        case 1:
          mutated.erase(at, 1 + random() % 20);
          break;
        default:
          mutated.insert(at, 1, noise[random() % sizeof noise]);
          break;
      }
    }
    Collect sink;
    ReadResult result = cad::dxf::readDxf(mutated, "mutated", sink);
    if (!result.ok()) {
      EXPECT_FALSE(result.status.message().empty());
    }
  }
}

}  // namespace
