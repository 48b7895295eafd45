// cadhost opening drawings as a user does: DWG through the importer, code
// pages from --codepage or the locale, layer names the code page cannot read.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_test.h"
#include "support/r12_drawing.h"

namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// "图层1" in code page 936 and in UTF-8; "図面" in Shift-JIS.
const std::string kLayerGbk =
    "\xCD\xBC\xB2\xE3"
    "1";
const std::string kLayerUtf8 =
    "\xE5\x9B\xBE\xE5\xB1\x82"
    "1";
const std::string kDrawingSjis = "\x90\x7D\x96\xCA";
// The Shift-JIS name read in code page 1252: 0x90 is undefined there.
const std::string kDrawingEscaped = "\\x90}\xE2\x80\x93\xC3\x8A";

class CadhostDrawing : public ProgramTest {
 protected:
  // cadhost in the test's folder with `environment` (VAR=value words, the
  // locale cleared first) and `arguments`; the script is `script`.
  Outcome run(const std::string& environment, const std::vector<std::string>& arguments,
              const std::string& script = "") {
    std::vector<std::string> all = {"--script", write("session.scr", script)};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runShell("cd " + quoted(folder_.string()) + " && env -u LC_ALL -u LC_CTYPE -u LANG " +
                    environment + " " + commandLine(CADHOST_PATH, all));
  }
};

TEST_F(CadhostDrawing, ReadsDrawingsThatNameNoCodePageInTheOptionsOrTheLocalesCodePage) {
  const std::string drawing = write("plan.dxf", r12Drawing({kLayerGbk}));
  struct Case {
    const char* label;
    std::string environment;
    std::vector<std::string> arguments;
    std::string said;
  } cases[] = {
      {"option",
       "LANG=en_US.UTF-8",
       {"--codepage", "ANSI_936", drawing},
       "  code page ANSI_936: the drawing names none; from --codepage\n"},
      {"locale",
       "LANG=zh_CN.UTF-8",
       {drawing},
       "  code page ANSI_936: the drawing names none; from the locale (LANG=zh_CN.UTF-8)\n"},
  };
  for (const Case& c : cases) {
    const Outcome r = run(c.environment, c.arguments);
    EXPECT_EQ(r.status, 0) << c.label << r.out << r.err;
    EXPECT_TRUE(contains(r.out, c.said)) << c.label << "\n" << r.out;
    EXPECT_TRUE(contains(r.out, "    " + kLayerUtf8 + ": 1 LINE\n")) << c.label << "\n" << r.out;
    EXPECT_FALSE(contains(r.out, "warning:")) << c.label << "\n" << r.out;
  }
  const Outcome bad = run("", {"--codepage", "GBK", drawing});
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(contains(bad.err, "cadhost: --codepage GBK: not a code page; one of: ANSI_874, "))
      << bad.err;
}

// Enter at the file prompt cancels the command after the selection, so
// nothing is written.
TEST_F(CadhostDrawing, OpensALayerNameTheCodePageCannotReadWithOneWarningAndSelectsItEscaped) {
  const std::string drawing = write("site.dxf", r12Drawing({kDrawingSjis, "AXIS", kDrawingSjis}));
  const Outcome r =
      run("LANG=C", {drawing}, "acadtomn\n0,0\nlayer " + kDrawingEscaped + "\n\n*cancel*\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  std::size_t warnings = 0;
  for (std::size_t at = r.out.find("warning:"); at != std::string::npos;
       at = r.out.find("warning:", at + 1))
    ++warnings;
  EXPECT_EQ(warnings, 1u) << r.out;
  EXPECT_TRUE(contains(r.out, "is not valid in code page ANSI_1252")) << r.out;
  EXPECT_TRUE(contains(r.out, "open it with --codepage NAME")) << r.out;
  EXPECT_TRUE(contains(r.out, "  code page ANSI_1252: the drawing names none; the default"))
      << r.out;
  EXPECT_TRUE(contains(r.out, "    " + kDrawingEscaped + ": 2 LINE\n")) << r.out;
  EXPECT_TRUE(contains(r.out, "2 found, 2 total")) << r.out;
  EXPECT_TRUE(contains(r.out, "2 条直线(LINE)和 0 条弧(ARC)成为轴线")) << r.out;

  // Read as Shift-JIS, the same drawing opens without a warning.
  const Outcome japanese = run("LC_ALL=ja_JP.UTF-8", {drawing});
  EXPECT_EQ(japanese.status, 0);
  EXPECT_FALSE(contains(japanese.out, "warning:")) << japanese.out;
  EXPECT_TRUE(contains(japanese.out, "    \xE5\x9B\xB3\xE9\x9D\xA2: 2 LINE\n")) << japanese.out;
}

TEST_F(CadhostDrawing, RefusesADwgItCannotOpenNamingTheFileTheVersionAndTheFix) {
  const std::string r12 = write("old.dwg", std::string("AC1009\0\0\0\x01", 10));
  const Outcome old = run("", {r12});
  EXPECT_EQ(old.status, 1);
  EXPECT_EQ(old.err, "cadhost: " + r12 +
                         ": DWG R11/R12 (AC1009) is older than R13, the oldest DWG this host "
                         "opens; save it as DXF in the program that made it and open the DXF "
                         "instead\n");

  const std::string r2000 = write("plan.dwg", std::string("AC1015\0\0\0\x01", 10));
  const Outcome missing = run("TAVRIN_DWG_IMPORTER=/nowhere/dwg-import.mjs", {r2000});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "cadhost: " + r2000 +
                             ": DWG 2000 (AC1015) cannot be opened: the DWG importer is not "
                             "installed (the importer /nowhere/dwg-import.mjs is not there); run "
                             "scripts/ensure-packages\n");

  const Outcome unreadable = run("", {r2000});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_TRUE(
      contains(unreadable.err, "cadhost: " + r2000 + ": DWG 2000 (AC1015) could not be read: "))
      << unreadable.err;
}

// The shared corpus of outside DWG files lies beside the project (never in
// it). The whole command on a DWG writes the files it writes on the DXF
// twin of the same drawing, byte for byte.
TEST_F(CadhostDrawing, RealDwgFromTheSharedCorpusExportsAsItsDxfTwinDoes) {
  const fs::path shared = TAVRIN_SHARED_DIR;
  const fs::path dwg =
      shared / "real-dwg/files/LibreDWG.libredwg__test__test-data__example_2000.dwg";
  const fs::path dxf =
      shared / "real-dxf/files/LibreDWG.libredwg__test__test-data__example_2000.dxf";
  ASSERT_TRUE(fs::exists(dwg)) << dwg;
  const std::string script = "acadtomn\n0,0\nall\n\nproject.prj\nclick 1005\n";
  std::string written[2];
  std::string summaries[2];
  const fs::path drawings[2] = {dwg, dxf};
  for (int i = 0; i < 2; ++i) {
    const Outcome r = run("", {drawings[i].string()}, script);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    written[i] = readFile(folder_ / "project.N1");
    summaries[i] = r.out.substr(r.out.find("  extents:"));
    summaries[i] = summaries[i].substr(0, summaries[i].find("Command:"));
    for (const char* name : {"project.prj", "project.inf", "project.N1"})
      fs::remove(folder_ / name);
  }
  EXPECT_FALSE(written[0].empty());
  EXPECT_EQ(written[0], written[1]);
  EXPECT_EQ(summaries[0], summaries[1]);
}

}  // namespace
