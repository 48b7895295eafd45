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
      {"unknown code page, fallback 1251", "AC1015", "ANSI_77", "\x98", "code page ANSI_1251"},
  };
  for (const Case& c : cases) {
    TextDecoder decoder(c.version, c.codePage, "ANSI_1251");
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

TEST(TextDecoder, TakesTheFallbackCodePageOnlyWhenTheDrawingNamesNoneItKnows) {
  struct Case {
    const char* label;
    const char* version;
    const char* codePage;
    const char* fallback;
    const char* used;
    bool declared;
    std::string decoded;  // of kAxisCp936
  } cases[] = {
      {"none named", "AC1009", "", "ANSI_936", "ANSI_936", false, kAxisUtf8},
      {"unknown name", "AC1015", "UNDEFINED", "ansi_936", "ANSI_936", false, kAxisUtf8},
      {"declared wins", "AC1015", "ANSI_1252", "ANSI_936", "ANSI_1252", true,
       "\xC3\x96\xC3\xA1\xC3\x8F\xC3\x9F"},
      {"UTF-8 versions ignore both", "AC1021", "", "ANSI_936", "UTF-8", true, ""},
      {"no fallback", "AC1009", "", "", "ANSI_1252", false, "\xC3\x96\xC3\xA1\xC3\x8F\xC3\x9F"},
      {"unknown fallback", "AC1009", "", "KOI8", "ANSI_1252", false,
       "\xC3\x96\xC3\xA1\xC3\x8F\xC3\x9F"},
  };
  for (const Case& c : cases) {
    TextDecoder decoder(c.version, c.codePage, c.fallback);
    EXPECT_EQ(decoder.codePage(), c.used) << c.label;
    EXPECT_EQ(decoder.declared(), c.declared) << c.label;
    if (c.decoded.empty()) continue;
    std::string out;
    ASSERT_TRUE(decoder.decode(kAxisCp936, out).isOk()) << c.label;
    EXPECT_EQ(out, c.decoded) << c.label;
  }
}

TEST(TextDecoder, EscapesEachByteOfANameThatItsCodePageDoesNotDefine) {
  struct Case {
    const char* label;
    const char* version;
    const char* codePage;
    std::string raw;
    std::string shown;
    bool escaped;
  } cases[] = {
      // Shift-JIS "図面" read as code page 1252, which leaves 0x90 undefined.
      {"Shift-JIS in 1252", "AC1009", "ANSI_1252", "\x90\x7D\x96\xCA", "\\x90}\xE2\x80\x93\xC3\x8A",
       true},
      {"undefined 1252 byte", "AC1009", "ANSI_1252",
       "A\x81"
       "B",
       "A\\x81B", true},
      {"backslash of an escaped name", "AC1009", "ANSI_1252", "\\\x8D", "\\x5C\\x8D", true},
      {"cut double-byte at the end", "AC1015", "ANSI_936", kAxisCp936 + "\xD6", kAxisUtf8 + "\\xD6",
       true},
      {"bad lead byte between characters", "AC1015", "ANSI_936", "\xD6\xE1\xFF\xCF\xDF",
       "\xE8\xBD\xB4\\xFF\xE7\xBA\xBF", true},
      {"invalid UTF-8", "AC1027", "", "a\xFF\xE8\xBD\xB4", "a\\xFF\xE8\xBD\xB4", true},
      {"valid name is unchanged", "AC1015", "ANSI_936", kAxisCp936, kAxisUtf8, false},
      {"escape of a valid name is expanded", "AC1015", "ANSI_1252", "\\U+8F74", "\xE8\xBD\xB4",
       false},
  };
  for (const Case& c : cases) {
    TextDecoder decoder(c.version, c.codePage);
    std::string out;
    EXPECT_EQ(decoder.decodeEscaped(c.raw, out), c.escaped) << c.label;
    EXPECT_EQ(out, c.shown) << c.label;
  }
}
