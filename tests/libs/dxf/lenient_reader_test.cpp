// What real drawings get wrong and the reader still opens, binary DXF, and
// the reader's handling of bad numbers and bytes.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "drawing_text.h"
#include "dxf/reader.h"
#include "dxf/text_decoder.h"
#include "support/temp_folder.h"

namespace {

using cad::dxf::Entity;
using cad::dxf::EntityType;
using cad::dxf::ReadResult;

using namespace dxf_test;

std::string header(const char* version, const char* codePage) {
  return section("HEADER", {{9, "$ACADVER"}, {1, version}, {9, "$DWGCODEPAGE"}, {3, codePage}});
}

bool samePoint(const cad::dxf::Point& a, const cad::dxf::Point& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Everything the reader hands over but where in the file it was.
void expectSameEntity(const Entity& a, const Entity& b, const std::string& label) {
  EXPECT_EQ(a.type, b.type) << label;
  EXPECT_EQ(a.typeName, b.typeName) << label;
  EXPECT_EQ(a.handle, b.handle) << label;
  EXPECT_EQ(a.layer, b.layer) << label;
  EXPECT_TRUE(samePoint(a.start, b.start)) << label;
  EXPECT_TRUE(samePoint(a.end, b.end)) << label;
  EXPECT_TRUE(samePoint(a.position, b.position)) << label;
  EXPECT_EQ(a.radius, b.radius) << label;
  EXPECT_EQ(a.startAngle, b.startAngle) << label;
  EXPECT_EQ(a.endAngle, b.endAngle) << label;
  ASSERT_EQ(a.vertices.size(), b.vertices.size()) << label;
  for (std::size_t i = 0; i < a.vertices.size(); ++i)
    EXPECT_TRUE(samePoint(a.vertices[i], b.vertices[i])) << label << " vertex " << i;
  EXPECT_EQ(a.closed, b.closed) << label;
  EXPECT_EQ(a.text, b.text) << label;
}

TEST(BinaryDxf, ReadsTheSameDrawingAsItsAsciiTwinInEveryVersion) {
  struct Case {
    const char* stem;
    const char* version;
    std::size_t entities;
    const char* text;  // the TEXT after the arcs, UTF-8
  } cases[] = {
      {"r12", "AC1009", 11, "caf\xC3\xA9 \xC2\xB1 5"},
      {"r2000", "AC1015", 13, "caf\xC3\xA9 \xC2\xB1 5"},
      {"r2018", "AC1032", 13, "\xE6\xA0\x87\xE5\x87\x86\xE5\xB1\x82"},
  };
  for (const Case& c : cases) {
    Collect binary, ascii;
    ReadResult b =
        cad::dxf::readDxfFile(dataPath(std::string("binary_") + c.stem + ".dxf"), binary);
    ReadResult a = cad::dxf::readDxfFile(dataPath(std::string("ascii_") + c.stem + ".dxf"), ascii);
    ASSERT_TRUE(b.ok()) << c.stem << ": " << b.status.message();
    ASSERT_TRUE(a.ok()) << c.stem << ": " << a.status.message();
    EXPECT_TRUE(b.binary) << c.stem;
    EXPECT_FALSE(a.binary) << c.stem;
    EXPECT_EQ(b.version, c.version) << c.stem;
    EXPECT_EQ(b.codePage, a.codePage) << c.stem;
    EXPECT_EQ(b.warnings, std::vector<std::string>{}) << c.stem;
    ASSERT_EQ(binary.entities.size(), c.entities) << c.stem;
    ASSERT_EQ(ascii.entities.size(), c.entities) << c.stem;
    for (std::size_t i = 0; i < c.entities; ++i)
      expectSameEntity(binary.entities[i], ascii.entities[i],
                       std::string(c.stem) + " entity " + std::to_string(i));
    // Spot checks that the twins are not equal by both being wrong.
    EXPECT_EQ(binary.entities[6].start.y, 0.2) << c.stem;
    EXPECT_EQ(binary.entities[6].end.x, 1e6 / 3) << c.stem;
    EXPECT_EQ(binary.entities[7].radius, 0.1) << c.stem;
    EXPECT_EQ(binary.entities[8].position.x, -10.0) << c.stem;  // mirrored arc
    EXPECT_EQ(binary.entities[9].text, c.text) << c.stem;
    EXPECT_EQ(binary.entities[10].vertices.size(), 3u) << c.stem;
  }
}

// Every prefix of a binary drawing is refused naming the byte where it
// stopped, and never read past its end (run under the sanitizers too).
TEST(BinaryDxf, RefusesEveryCutAndCorruptionNamingTheByte) {
  for (const char* file : {"binary_r12.dxf", "binary_r2018.dxf"}) {
    const std::string original = fileBytes(dataPath(file));
    ASSERT_GT(original.size(), 1000u) << file;
    for (std::size_t length = 22; length < original.size(); length += 5) {
      // A copy of just that many bytes, so that reading past it is caught.
      const std::string cut = original.substr(0, length);
      Collect sink;
      ReadResult result = cad::dxf::readDxf(cut, "cut.dxf", sink);
      if (result.ok()) {
        // Only a cut right after a section that follows the entities opens.
        EXPECT_TRUE(cut.ends_with(std::string("ENDSEC\0", 7))) << file << " cut at " << length;
        ASSERT_FALSE(result.warnings.empty());
        EXPECT_NE(result.warnings.back().find("without 0/EOF"), std::string::npos);
        continue;
      }
      EXPECT_EQ(result.status.message().rfind("cut.dxf: byte ", 0), 0u) << result.status.message();
    }
    std::string corrupt = original;
    const std::size_t at = corrupt.find(std::string("ENTITIES\0", 9)) + 9;
    ASSERT_GT(at, 9u);
    corrupt[at] = '\x55';  // code 85 (or 0x0055 / 0x??55): no group has it
    if (corrupt[at + 1] == '\0') corrupt[at + 1] = '\x55';
    Collect sink;
    ReadResult result = cad::dxf::readDxf(corrupt, "bad.dxf", sink);
    ASSERT_FALSE(result.ok()) << file;
    EXPECT_NE(result.status.message().find("bad.dxf: byte " + std::to_string(at) + ": group code"),
              std::string::npos)
        << result.status.message();
  }
}

TEST(LenientReading, OpensWhatWritersGetWrongWithAWarningNamingTheLine) {
  struct Case {
    const char* file;
    std::size_t entities;
    std::vector<std::string> warnings;  // in order, each a part of one warning
  } cases[] = {
      {"undefined_bytes.dxf", 4, {"undefined_bytes.dxf:27: text with bytes that are not valid"}},
      {"ascii_code_page.dxf", 2, {}},
      {"circle_radius_not_positive.dxf", 3, {}},
      {"empty_handles.dxf",
       3,
       {"empty_handles.dxf:17: LINE has an empty handle; given C1",
        "empty_handles.dxf:45: LINE has an empty handle; given C2"}},
      {"early_endsec.dxf", 1, {"early_endsec.dxf:11: header variables after the ENDSEC of line 9"}},
      // Cut after OBJECTS, which follows the entities.
      {"no_eof.dxf", 10, {"the file ends after this ENDSEC without 0/EOF"}},
  };
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = cad::dxf::readDxfFile(dataPath(c.file), sink);
    ASSERT_TRUE(result.ok()) << c.file << ": " << result.status.message();
    EXPECT_EQ(sink.entities.size(), c.entities) << c.file;
    ASSERT_EQ(result.warnings.size(), c.warnings.size()) << c.file;
    for (std::size_t i = 0; i < c.warnings.size(); ++i)
      EXPECT_NE(result.warnings[i].find(c.warnings[i]), std::string::npos)
          << c.file << ": " << result.warnings[i];
  }
}

TEST(LenientReading, KeepsWhatTheFixturesHoldExactly) {
  const std::string replacement = "\xEF\xBF\xBD";
  Collect undefined;
  ASSERT_TRUE(cad::dxf::readDxfFile(dataPath("undefined_bytes.dxf"), undefined).ok());
  // Shift-JIS 軸線 read as code page 1252: 8E B2 90 FC, where 90 is undefined.
  EXPECT_EQ(undefined.entities[1].text,
            "\xC5\xBD\xC2\xB2" + replacement + "\xC3\xBC " + replacement + "}");
  EXPECT_EQ(undefined.entities[1].layer, "NOTES");

  Collect mtext;
  ASSERT_TRUE(cad::dxf::readDxfFile(dataPath("ascii_code_page.dxf"), mtext).ok());
  EXPECT_EQ(mtext.entities[0].text, "Number:\\~2\\PAxis \xC2\xB1");

  Collect circles;
  ASSERT_TRUE(cad::dxf::readDxfFile(dataPath("circle_radius_not_positive.dxf"), circles).ok());
  EXPECT_EQ(circles.entities[0].radius, 0.0);
  EXPECT_EQ(circles.entities[1].radius, -1.5);

  // Fresh handles lie above the OBJECTS' C0 and the $HANDSEED 2A.
  Collect handles;
  ASSERT_TRUE(cad::dxf::readDxfFile(dataPath("empty_handles.dxf"), handles).ok());
  EXPECT_EQ(handles.entities[0].handle, 0xC1u);
  EXPECT_EQ(handles.entities[1].handle, 0x20u);
  EXPECT_EQ(handles.entities[2].handle, 0xC2u);

  // The code page came after the early ENDSEC.
  Collect early;
  ReadResult result = cad::dxf::readDxfFile(dataPath("early_endsec.dxf"), early);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.codePage, "ANSI_1251");
  EXPECT_EQ(early.entities[0].layer, "\xD0\x9E\xD1\x81\xD0\xB8");  // Оси
}

// A layer name with bytes its code page leaves undefined opens with them
// escaped, so it can still be told from others and selected; one warning per
// drawing names the code page and the way out.
TEST(LenientReading, OpensLayerNamesWithUndefinedBytesEscapedAndWarnsOnce) {
  const Groups line = {{0, "LINE"}, {8, "\x90\x7D"}};
  Groups entities = line;
  entities.insert(entities.end(), {{0, "LINE"}, {8, "\x98"}});
  entities.insert(entities.end(), line.begin(), line.end());
  Collect sink;
  ReadResult result = read(section("ENTITIES", entities) + text({{0, "EOF"}}), sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 3u);
  EXPECT_EQ(sink.entities[0].layer, "\\x90}");
  EXPECT_EQ(sink.entities[1].layer, "\xCB\x9C");  // 0x98 is a tilde in 1252
  EXPECT_EQ(sink.entities[2].layer, "\\x90}");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0],
            "test.dxf:5: the layer name \"\\x90}\" is not valid in code page ANSI_1252; each byte "
            "that is not is shown as \\xNN, and the name is selected so (the first such name; "
            "others are not told). If the drawing was made in another code page, open it with "
            "--codepage NAME");
  EXPECT_EQ(result.codePageUsed, "ANSI_1252");
  EXPECT_FALSE(result.codePageDeclared);

  // The same bytes in a drawing that names code page 1251, where 0x98 is
  // undefined, and in one read with the fallback 932, where both are whole.
  Collect cyrillic;
  result = read(header("AC1015", "ANSI_1251") + section("ENTITIES", entities) + text({{0, "EOF"}}),
                cyrillic);
  ASSERT_TRUE(result.ok()) << result.status.message();
  EXPECT_EQ(cyrillic.entities[1].layer, "\\x98");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("not valid in code page ANSI_1251"), std::string::npos);
  Collect japanese;
  cad::dxf::ReadOptions options;
  options.fallbackCodePage = "ANSI_932";
  result = cad::dxf::readDxf(section("ENTITIES", line) + text({{0, "EOF"}}), "test.dxf", japanese,
                             options);
  ASSERT_TRUE(result.ok()) << result.status.message();
  EXPECT_EQ(japanese.entities[0].layer, "\xE5\x9B\xB3");  // 図
  EXPECT_TRUE(result.warnings.empty());
}

TEST(LenientReading, ReplacesUndefinedTextBytes) {
  const std::string replacement = "\xEF\xBF\xBD";
  struct Case {
    const char* label;
    std::string contents;
    std::string text;     // of the one entity, when it opens
    const char* problem;  // part of the warning or (layer) the error
  } cases[] = {
      {"0x98 in 1251",
       header("AC1015", "ANSI_1251") + section("ENTITIES", {{0, "TEXT"}, {1, "\x97\x98\x99"}}),
       "\xE2\x80\x94" + replacement + "\xE2\x84\xA2",
       "test.dxf:19: text with bytes that are not valid in CP1251"},
      {"unknown code page is read as the fallback",
       header("AC1015", "UNDEFINED") + section("ENTITIES", {{0, "MTEXT"}, {1, "a\x81\\P"}}),
       "a" + replacement + "\\P", "not valid in CP1252"},
      {"bad UTF-8",
       header("AC1027", "ANSI_1252") + section("ENTITIES", {{0, "INSERT"}, {2, "B\xFF"}}),
       "B" + replacement, "not valid in UTF-8"},
      {"cut double-byte",
       header("AC1015", "ANSI_936") + section("ENTITIES", {{0, "TEXT"}, {1, "A\xD6"}}),
       "A" + replacement, "not valid in CP936"},
  };
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = read(c.contents + text({{0, "EOF"}}), sink);
    if (c.text.empty()) {
      ASSERT_FALSE(result.ok()) << c.label;
      EXPECT_NE(result.status.message().find(c.problem), std::string::npos)
          << c.label << ": " << result.status.message();
      continue;
    }
    ASSERT_TRUE(result.ok()) << c.label << ": " << result.status.message();
    ASSERT_EQ(sink.entities.size(), 1u) << c.label;
    EXPECT_EQ(sink.entities[0].text, c.text) << c.label;
    ASSERT_EQ(result.warnings.size(), 1u) << c.label;
    EXPECT_NE(result.warnings[0].find(c.problem), std::string::npos)
        << c.label << ": " << result.warnings[0];
  }
  // One warning per drawing, naming the first text.
  Collect sink;
  ReadResult result =
      read(header("AC1015", "ANSI_1251") +
               section("ENTITIES", {{0, "TEXT"}, {1, "\x98"}, {0, "TEXT"}, {1, "\x98"}}) +
               text({{0, "EOF"}}),
           sink);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(sink.entities.size(), 2u);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("test.dxf:19:"), std::string::npos);
}

TEST(LenientReading, TakesAZeroDirectionAsUpOnlyForEntitiesThatAreNoAxes) {
  const Groups zero = {{210, "0"}, {220, "0"}, {230, "0"}};
  struct Case {
    const char* type;
    bool opens;
  } cases[] = {{"CIRCLE", true}, {"TEXT", true}, {"LWPOLYLINE", true}, {"ARC", false}};
  for (const Case& c : cases) {
    Groups groups = {{0, c.type}, {10, "3"}, {20, "4"}, {40, "1"}};
    groups.insert(groups.end(), zero.begin(), zero.end());
    Collect sink;
    ReadResult result = read(section("ENTITIES", groups) + text({{0, "EOF"}}), sink);
    ASSERT_EQ(result.ok(), c.opens) << c.type;
    if (!c.opens) {
      EXPECT_NE(result.status.message().find("test.dxf:5: ARC has a zero extrusion"),
                std::string::npos);
      continue;
    }
    ASSERT_EQ(result.warnings.size(), 1u) << c.type;
    EXPECT_NE(result.warnings[0].find("zero extrusion direction; taken as 0, 0, 1"),
              std::string::npos);
  }
}

TEST(LenientReading, OpensADrawingCutAfterItsEntitiesButNotBefore) {
  const std::string entities = section("ENTITIES", {{0, "LINE"}, {10, "1"}});
  struct Case {
    const char* label;
    std::string contents;
    bool opens;
  } cases[] = {
      {"cut after ENTITIES", entities, true},
      {"cut after OBJECTS", entities + section("OBJECTS", {{0, "DICTIONARY"}}), true},
      {"cut after HEADER", header("AC1015", "ANSI_1252"), false},
      {"cut before ENTITIES", section("TABLES", {}) + entities.substr(0, 28), false},
  };
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = read(c.contents, sink);
    ASSERT_EQ(result.ok(), c.opens) << c.label;
    if (c.opens) {
      ASSERT_EQ(result.warnings.size(), 1u) << c.label;
      EXPECT_NE(result.warnings[0].find("without 0/EOF"), std::string::npos);
    } else {
      EXPECT_NE(result.status.message().find("without 0/EOF"), std::string::npos)
          << result.status.message();
    }
  }
}

// Bad numbers and bytes: a huge extrusion component, a code page that a
// second HEADER changes, and error messages quoting bytes from 0x80.
TEST(DxfReader, NormalisesHugeDirectionsAndRedecodesAfterAHeaderChange) {
  struct Case {
    const char* label;
    Groups extrusion;
    double cx;
  } cases[] = {
      {"huge up", {{210, "0"}, {220, "0"}, {230, "1e200"}}, 10},
      {"huge down", {{210, "0"}, {220, "0"}, {230, "-1e300"}}, -10},
  };
  for (const Case& c : cases) {
    Groups groups = {{0, "ARC"}, {10, "10"}, {20, "5"}, {40, "3"}, {50, "0"}, {51, "90"}};
    groups.insert(groups.end(), c.extrusion.begin(), c.extrusion.end());
    Collect sink;
    ReadResult result = read(section("ENTITIES", groups) + text({{0, "EOF"}}), sink);
    ASSERT_TRUE(result.ok()) << c.label << ": " << result.status.message();
    EXPECT_EQ(sink.entities[0].position.x, c.cx) << c.label;
    EXPECT_TRUE(result.warnings.empty()) << c.label;
  }

  // The same layer bytes, first in code page 1252, then in 1251.
  Collect sink;
  ReadResult result =
      read(header("AC1015", "ANSI_1252") + section("ENTITIES", {{0, "LINE"}, {8, "\xC0"}}) +
               header("AC1015", "ANSI_1251") + section("ENTITIES", {{0, "LINE"}, {8, "\xC0"}}) +
               text({{0, "EOF"}}),
           sink);
  ASSERT_TRUE(result.ok()) << result.status.message();
  ASSERT_EQ(sink.entities.size(), 2u);
  EXPECT_EQ(sink.entities[0].layer, "\xC3\x80");  // À
  EXPECT_EQ(sink.entities[1].layer, "\xD0\x90");  // А
}

TEST(DxfReader, QuotesBytesFrom0x80InErrorsAsValidUtf8) {
  struct Case {
    const char* label;
    std::string contents;
    const char* shown;
  } cases[] = {
      {"number", section("ENTITIES", {{0, "LINE"}, {10, "1\xE9"}}), "value \"1\\xE9\""},
      {"handle", section("ENTITIES", {{0, "LINE"}, {5, "\xD6\xE1"}}), "handle \"\\xD6\\xE1\""},
      {"section", text({{0, "SECTION"}, {2, "\xFF"}, {0, "EOF"}}), "section \\xFF"},
      {"owner", section("ENTITIES", {{0, "POLYLINE"}, {0, "\xC0\xAF"}}),
       "(found \\xC0\\xAF at line"},
  };
  for (const Case& c : cases) {
    Collect sink;
    ReadResult result = read(c.contents + text({{0, "EOF"}}), sink);
    ASSERT_FALSE(result.ok()) << c.label;
    EXPECT_TRUE(cad::dxf::isValidUtf8(result.status.message()))
        << c.label << ": " << result.status.message();
    EXPECT_NE(result.status.message().find(c.shown), std::string::npos)
        << c.label << ": " << result.status.message();
  }
}

}  // namespace
