#include "dwg/dwg_version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using cad::dwg::dwgVersionOf;

TEST(DwgVersion, NamesTheReleaseOfEachSignatureAndWhetherItOpens) {
  struct Case {
    std::string head;
    const char* code;
    const char* release;
    bool opens;
  } cases[] = {
      {std::string("AC1012\0\0\0", 9), "AC1012", "R13", true},
      {"AC1014", "AC1014", "R14", true},
      {"AC1015xyz", "AC1015", "2000", true},
      {"AC1018", "AC1018", "2004", true},
      {"AC1021", "AC1021", "2007", true},
      {"AC1024", "AC1024", "2010", true},
      {"AC1027", "AC1027", "2013", true},
      {"AC1032", "AC1032", "2018", true},
      {"AC1009", "AC1009", "R11/R12", false},
      {"AC1006", "AC1006", "R10", false},
      {"AC1003", "AC1003", "R2.6", false},
      {"AC2.10", "AC2.10", "R2.10", false},
      {"AC1.40", "AC1.40", "R1.40", false},
      {std::string("AC1.2\0\x01", 7), "AC1.2", "R1.2", false},
      {"AC1033", "AC1033", "unknown", false},
      {"AC1013", "AC1013", "unknown", false},
  };
  for (const Case& c : cases) {
    const auto version = dwgVersionOf(c.head);
    ASSERT_TRUE(version.has_value()) << c.code;
    EXPECT_EQ(version->code, c.code);
    EXPECT_EQ(version->release, c.release) << c.code;
    EXPECT_EQ(version->opens, c.opens) << c.code;
    EXPECT_EQ(version->older, !c.opens && std::string(c.release) != "unknown") << c.code;
  }
  EXPECT_EQ(cad::dwg::describe(*dwgVersionOf("AC1015")), "DWG 2000 (AC1015)");
}

TEST(DwgVersion, TakesNoOtherFileForADwg) {
  for (const std::string head : {"  0\nSECTION", "999\nAC1015", "AutoCAD Binary DXF\r\n", "AC",
                                 "AC101", "ACAD15", "ac1015", "AC10 5", "\xEF\xBB\xBF  0\n", ""})
    EXPECT_FALSE(dwgVersionOf(head).has_value()) << head;
}

}  // namespace
