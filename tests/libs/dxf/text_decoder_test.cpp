#include "dxf/text_decoder.h"

#include <gtest/gtest.h>

namespace {

using cad::dxf::TextDecoder;

// "轴线" in UTF-8 and in code page 936.
const std::string kAxisUtf8 = "\xE8\xBD\xB4\xE7\xBA\xBF";
const std::string kAxisCp936 = "\xD6\xE1\xCF\xDF";

TEST(DxfCodePages, MapsTheCommonCodePagesToIconvNames) {
  struct Case {
    const char* codePage;
    const char* encoding;
  } cases[] = {
      {"ANSI_936", "CP936"}, {"ansi_1252", "CP1252"}, {"ANSI_950", "CP950"},
      {"DOS850", "CP850"},   {"ANSI_99999", ""},      {"UTF8", ""},
      {"ANSI_", ""},         {"ANSI_12x", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(cad::dxf::encodingForCodePage(c.codePage), c.encoding) << c.codePage;
}

TEST(TextDecoder, DecodesByVersionAndCodePage) {
  struct Case {
    const char* label;
    const char* version;
    const char* codePage;
    std::string raw;
    std::string expected;
  } cases[] = {
      {"ANSI_936 before 2007", "AC1015", "ANSI_936", kAxisCp936, kAxisUtf8},
      {"2007 on is UTF-8 whatever the code page", "AC1021", "ANSI_936", kAxisUtf8, kAxisUtf8},
      {"2018 format", "AC1032", "ANSI_1252", kAxisUtf8, kAxisUtf8},
      {"ANSI_1252 before 2007", "AC1009", "ANSI_1252", "caf\xE9", "caf\xC3\xA9"},
      {"no header means ANSI_1252", "", "", "\xE9", "\xC3\xA9"},
      {"escapes in a legacy file", "AC1015", "ANSI_1252", "\\U+8F74\\U+7ebf", kAxisUtf8},
      {"escapes in a UTF-8 file", "AC1024", "", "A\\U+8F74", "A\xE8\xBD\xB4"},
      {"ASCII is kept", "AC1015", "ANSI_936", "AXIS 1", "AXIS 1"},
      {"short escape is kept", "AC1015", "ANSI_1252", "\\U+8F7", "\\U+8F7"},
      {"bad hex is kept", "AC1015", "ANSI_1252", "\\U+8G74x", "\\U+8G74x"},
      {"surrogate is kept", "AC1015", "ANSI_1252", "\\U+D800", "\\U+D800"},
      {"other backslashes are kept", "AC1015", "ANSI_1252", "a\\Pb", "a\\Pb"},
  };
  for (const Case& c : cases) {
    TextDecoder decoder(c.version, c.codePage);
    std::string out;
    const base::Status decoded = decoder.decode(c.raw, out);
    ASSERT_TRUE(decoded.isOk()) << c.label << ": " << decoded.message();
    EXPECT_EQ(out, c.expected) << c.label;
  }
}

TEST(TextDecoder, RefusesBytesThatAreNotTextOfTheDrawing) {
  struct Case {
    const char* label;
    const char* version;
    const char* codePage;
    std::string raw;
    const char* reason;
  } cases[] = {
      {"invalid UTF-8", "AC1021", "", "\xFF\xFE", "not valid UTF-8"},
      {"truncated UTF-8", "AC1021", "", "\xE8\xBD", "not valid UTF-8"},
      {"invalid 936", "AC1015", "ANSI_936", "\xD6", "not valid in the drawing's code page"},
      {"unknown code page", "AC1015", "ANSI_77", "\xD6\xE1", "code page \"ANSI_77\" is unknown"},
  };
  for (const Case& c : cases) {
    TextDecoder decoder(c.version, c.codePage);
    std::string out;
    const base::Status decoded = decoder.decode(c.raw, out);
    EXPECT_FALSE(decoded.isOk()) << c.label;
    EXPECT_NE(decoded.message().find(c.reason), std::string::npos)
        << c.label << ": " << decoded.message();
  }
  // ASCII needs no code page.
  TextDecoder unknown("AC1015", "ANSI_77");
  std::string out;
  EXPECT_TRUE(unknown.decode("AXIS", out).isOk());
}

TEST(Utf8Validation, AcceptsWellFormedAndRefusesTheRest) {
  EXPECT_TRUE(cad::dxf::isValidUtf8(kAxisUtf8));
  EXPECT_TRUE(cad::dxf::isValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(cad::dxf::isValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(cad::dxf::isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(cad::dxf::isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(cad::dxf::isValidUtf8("\xE0\x80\x80"));      // overlong 3-byte
}

}  // namespace
