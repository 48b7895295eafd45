#include "cad/drawing_loading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "cad/drawing_summary.h"
#include "cad/selection_builder.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "support/r12_drawing.h"
#include "text/code_page.h"

namespace {

namespace fs = std::filesystem;
using cad::chooseFallbackCodePage;
using cad::DrawingOptions;
using cad::FallbackCodePage;

// An environment of the given variables only.
cad::Environment environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const char* name) -> const char* {
    const auto found = variables.find(name);
    return found == variables.end() ? nullptr : found->second.c_str();
  };
}

TEST(FallbackCodePage, ComesFromTheOptionThenTheLocaleThenTheDefault) {
  struct Case {
    const char* label;
    std::optional<std::string> option;
    std::map<std::string, std::string> environment;
    const char* name;
    const char* source;
  } cases[] = {
      {"option", "ansi_950", {{"LANG", "ja_JP.UTF-8"}}, "ANSI_950", "from --codepage"},
      {"LANG zh_CN",
       {},
       {{"LANG", "zh_CN.UTF-8"}},
       "ANSI_936",
       "from the locale (LANG=zh_CN.UTF-8)"},
      {"zh_SG", {}, {{"LANG", "zh_SG"}}, "ANSI_936", "from the locale (LANG=zh_SG)"},
      {"zh_TW", {}, {{"LANG", "zh_TW.Big5"}}, "ANSI_950", "from the locale (LANG=zh_TW.Big5)"},
      {"zh_HK", {}, {{"LANG", "zh_HK.UTF-8"}}, "ANSI_950", "from the locale (LANG=zh_HK.UTF-8)"},
      {"ja", {}, {{"LANG", "ja_JP.eucJP"}}, "ANSI_932", "from the locale (LANG=ja_JP.eucJP)"},
      {"bare ja", {}, {{"LANG", "ja"}}, "ANSI_932", "from the locale (LANG=ja)"},
      {"ko", {}, {{"LANG", "ko_KR.UTF-8"}}, "ANSI_949", "from the locale (LANG=ko_KR.UTF-8)"},
      {"LC_ALL over the others",
       {},
       {{"LC_ALL", "ko_KR.UTF-8"}, {"LC_CTYPE", "ja_JP.UTF-8"}, {"LANG", "zh_CN.UTF-8"}},
       "ANSI_949",
       "from the locale (LC_ALL=ko_KR.UTF-8)"},
      {"LC_CTYPE over LANG",
       {},
       {{"LC_CTYPE", "ja_JP.UTF-8"}, {"LANG", "zh_CN.UTF-8"}},
       "ANSI_932",
       "from the locale (LC_CTYPE=ja_JP.UTF-8)"},
      {"an empty LC_ALL is not set",
       {},
       {{"LC_ALL", ""}, {"LANG", "zh_CN.GB18030"}},
       "ANSI_936",
       "from the locale (LANG=zh_CN.GB18030)"},
      {"other locale",
       {},
       {{"LANG", "en_US.UTF-8"}},
       "ANSI_1252",
       "the default, as the locale (LANG=en_US.UTF-8) names no other; --codepage NAME sets one"},
      {"zh alone names no territory", {}, {{"LANG", "zh"}}, "ANSI_1252", ""},
      {"a language that only starts alike", {}, {{"LANG", "jam_JM"}}, "ANSI_1252", ""},
      {"nothing set", {}, {}, "ANSI_1252", "the default; --codepage NAME sets another"},
  };
  for (const Case& c : cases) {
    const auto chosen = chooseFallbackCodePage(c.option, environmentOf(c.environment));
    ASSERT_TRUE(chosen.isOk()) << c.label << ": " << chosen.message();
    EXPECT_EQ(chosen->name, c.name) << c.label;
    if (*c.source != 0) {
      EXPECT_EQ(chosen->source, c.source) << c.label;
    }
  }
  const auto bad = chooseFallbackCodePage("GBK", environmentOf({}));
  ASSERT_FALSE(bad.isOk());
  EXPECT_EQ(bad.message().substr(0, 54), "--codepage GBK: not a code page; one of: ANSI_874, ANS");
  EXPECT_NE(bad.message().find("ANSI_936"), std::string::npos);
}

class DrawingLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("DrawingLoading_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string write(const std::string& name, const std::string& contents) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }

  fs::path folder_;
};

// "图层1" (layer 1) in code page 936, and "図面" (drawing) in Shift-JIS.
const std::string kLayerGbk =
    "\xCD\xBC\xB2\xE3"
    "1";
const std::string kLayerUtf8 =
    "\xE5\x9B\xBE\xE5\xB1\x82"
    "1";
const std::string kDrawingSjis = "\x90\x7D\x96\xCA";

TEST_F(DrawingLoading, ReadsADrawingThatNamesNoCodePageInTheFallbackAndSaysWhy) {
  const std::string path = write("plan.dxf", r12Drawing({kLayerGbk}));
  const auto loaded = cad::loadDrawing(path, DrawingOptions{{"ANSI_936", "from --codepage"}, {}});
  ASSERT_TRUE(loaded.isOk()) << loaded.message();
  const cad::Database& database = **loaded;
  EXPECT_EQ(text::cp936ToUtf8Lossy(database.entities()[0]->layer()), kLayerUtf8);
  EXPECT_EQ(database.codePage().name, "ANSI_936");
  EXPECT_FALSE(database.codePage().fromDrawing);
  EXPECT_EQ(database.codePage().reason, "the drawing names none; from --codepage");
  EXPECT_TRUE(database.warnings().empty());
  EXPECT_NE(cad::drawingSummary(database, "plan.dxf")
                .find("\n  code page ANSI_936: the drawing names none; from --codepage\n"),
            std::string::npos);

  // Read as the default 1252, the same name is the mojibake of today.
  const auto western = cad::loadDrawing(path, DrawingOptions{});
  ASSERT_TRUE(western.isOk());
  const std::string* exact = (*western)->exactLayerName((*western)->entities()[0]->objectId());
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(*exact,
            "\xC3\x8D\xC2\xBC\xC2\xB2\xC3\xA3"
            "1");
}

// A Shift-JIS layer name read as 1252 opens, escaped, and the escaped form
// selects it; other layers still select by their names.
TEST_F(DrawingLoading, SelectsALayerNameWithUndefinedBytesByItsEscapedForm) {
  const std::string path = write("site.dxf", r12Drawing({kDrawingSjis, "AXIS", kDrawingSjis}));
  const auto loaded = cad::loadDrawing(path, DrawingOptions{});
  ASSERT_TRUE(loaded.isOk()) << loaded.message();
  const cad::Database& database = **loaded;
  ASSERT_EQ(database.warnings().size(), 1u);
  EXPECT_NE(database.warnings()[0].find("code page ANSI_1252"), std::string::npos);
  EXPECT_NE(database.warnings()[0].find("--codepage NAME"), std::string::npos);
  EXPECT_NE(
      cad::drawingSummary(database, "site.dxf").find("    \\x90}\xE2\x80\x93\xC3\x8A: 2 LINE\n"),
      std::string::npos)
      << cad::drawingSummary(database, "site.dxf");

  cad::SelectionBuilder builder(database);
  ASSERT_TRUE(builder.apply("layer \\x90}\xE2\x80\x93\xC3\x8A").isOk());
  EXPECT_EQ(builder.ids().size(), 2u);
  ASSERT_TRUE(builder.apply("layer \\x90").isOk());
  EXPECT_EQ(builder.ids().size(), 2u) << "a part of the escaped name selects nothing more";
  ASSERT_TRUE(builder.apply("layer axis").isOk());
  EXPECT_EQ(builder.ids().size(), 3u);
}

TEST_F(DrawingLoading, TellsADwgByItsContentNotItsName) {
  // A pre-R13 DWG named .dxf is refused as DWG; a DXF named .dwg opens.
  const std::string old = write("old.dxf", std::string("AC1009\0\0\0\x01\x02", 11));
  const auto refused = cad::loadDrawing(old, DrawingOptions{});
  ASSERT_FALSE(refused.isOk());
  EXPECT_EQ(refused.message(), old +
                                   ": DWG R11/R12 (AC1009) is older than R13, the oldest DWG this "
                                   "host opens; save it as DXF in the program that made it and "
                                   "open the DXF instead");
  const auto dxf = cad::loadDrawing(write("named.dwg", r12Drawing({"AXIS"})), DrawingOptions{});
  ASSERT_TRUE(dxf.isOk()) << dxf.message();
  EXPECT_EQ((*dxf)->entities().size(), 1u);
  EXPECT_EQ((*dxf)->source(), "");
}

// The importer installed beside the programs, as scripts/ensure-packages
// leaves it.
cad::dwg::ImporterSettings installedImporter() {
  return cad::dwg::defaultImporterSettings(TAVRIN_BIN_DIR);
}

TEST_F(DrawingLoading, RefusesADwgTheInstalledReaderCannotRead) {
  ASSERT_FALSE(installedImporter().command.empty()) << installedImporter().missing;
  std::string garbage = "AC1015";
  for (int i = 0; i < 4000; ++i) garbage.push_back(static_cast<char>(i * 7919 % 251));
  const std::string path = write("broken.dwg", garbage);
  const auto loaded =
      cad::loadDrawing(path, DrawingOptions{{"ANSI_1252", ""}, installedImporter()});
  ASSERT_FALSE(loaded.isOk());
  const std::string start = path + ": DWG 2000 (AC1015) could not be read: ";
  EXPECT_EQ(loaded.message().substr(0, start.size()), start) << loaded.message();
  EXPECT_NE(loaded.message().find("; save it as DXF in the program that made it"),
            std::string::npos);
}

// Real drawings from the shared corpus of outside DWG files (never copied
// into the repository) against their DXF twins.
TEST_F(DrawingLoading, RealDwgFromTheSharedCorpusGivesTheDatabaseOfItsDxfTwin) {
  struct Case {
    const char* dwg;
    const char* twin;
    const char* version;
  } cases[] = {
      {"real-dwg/files/LibreDWG.libredwg__test__test-data__example_2000.dwg",
       "real-dxf/files/LibreDWG.libredwg__test__test-data__example_2000.dxf", "2000 (AC1015)"},
      {"real-dwg/files/nextgis.dwg_samples__arc_2004.dwg",
       "real-dwg/twins/nextgis.dwg_samples__arc_2004.dxf", "2004 (AC1018)"},
      {"real-dwg/files/DomCR.ACadSharp__samples__sample_AC1021.dwg",
       "real-dwg/twins/DomCR.ACadSharp__samples__sample_AC1021_binary.dxf", "2007 (AC1021)"},
      {"real-dwg/files/LibreDWG.libredwg__test__test-data__sample_2018.dwg",
       "real-dxf/files/LibreDWG.libredwg__test__test-data__sample_2018.dxf", "2018 (AC1032)"},
  };
  for (const Case& c : cases) {
    const std::string dwgPath = std::string(TAVRIN_SHARED_DIR) + "/" + c.dwg;
    ASSERT_TRUE(fs::exists(dwgPath)) << dwgPath << ": the shared corpus is beside the project";
    const auto dwg =
        cad::loadDrawing(dwgPath, DrawingOptions{{"ANSI_1252", ""}, installedImporter()});
    ASSERT_TRUE(dwg.isOk()) << dwg.message();
    const auto twin =
        cad::loadDrawing(std::string(TAVRIN_SHARED_DIR) + "/" + c.twin, DrawingOptions{});
    ASSERT_TRUE(twin.isOk()) << twin.message();
    EXPECT_EQ((*dwg)->source(),
              std::string("DWG ") + c.version + ", read through the DWG importer");
    const auto& a = (*dwg)->entities();
    const auto& b = (*twin)->entities();
    ASSERT_EQ(a.size(), b.size()) << c.dwg;
    for (std::size_t i = 0; i < a.size(); ++i) {
      SCOPED_TRACE(std::string(c.dwg) + " entity " + std::to_string(i));
      EXPECT_STREQ(a[i]->isA()->name(), b[i]->isA()->name());
      EXPECT_EQ(a[i]->layer(), b[i]->layer());
      EXPECT_EQ(a[i]->handle(), b[i]->handle());
      if (const auto* line = acrxClassTest<AcDbLine>(a[i].get())) {
        const auto* other = acrxClassTest<AcDbLine>(b[i].get());
        ASSERT_NE(other, nullptr);
        EXPECT_NEAR(line->startPoint().x, other->startPoint().x, 1e-9);
        EXPECT_NEAR(line->endPoint().y, other->endPoint().y, 1e-9);
      }
      if (const auto* arc = acrxClassTest<AcDbArc>(a[i].get())) {
        const auto* other = acrxClassTest<AcDbArc>(b[i].get());
        ASSERT_NE(other, nullptr);
        EXPECT_NEAR(arc->radius(), other->radius(), 1e-9);
        EXPECT_NEAR(arc->startAngle(), other->startAngle(), 1e-9);
      }
    }
    EXPECT_EQ((*dwg)->codePage().name, (*twin)->codePage().name);
    EXPECT_EQ(
        cad::drawingSummary(**dwg, "d").substr(cad::drawingSummary(**dwg, "d").find("extents")),
        cad::drawingSummary(**twin, "d").substr(cad::drawingSummary(**twin, "d").find("extents")));
  }
}

}  // namespace
