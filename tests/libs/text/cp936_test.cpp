#include "text/cp936.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Cp936, LeadAndTrailBytes) {
  struct Case {
    unsigned char byte;
    bool lead, trail;
  } cases[] = {
      {0x00, false, false}, {0x3F, false, false}, {0x40, false, true},  {0x41, false, true},
      {0x7E, false, true},  {0x7F, false, false}, {0x80, false, true},  {0x81, true, true},
      {0xD6, true, true},   {0xFE, true, true},   {0xFF, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::cp936::isLeadByte(c.byte), c.lead) << int{c.byte};
    EXPECT_EQ(text::cp936::isTrailByte(c.byte), c.trail) << int{c.byte};
  }
}

TEST(Cp936, StepsThroughCharacters) {
  struct Case {
    const char* label;
    std::string text;
    std::vector<unsigned> codes;
  } cases[] = {
      {"ASCII", "ab", {'a', 'b'}},
      {"double-byte", "\xD6\xE1\xCD\xF8", {0xD6E1, 0xCDF8}},
      {"mixed", "x\xD6\xE1y", {'x', 0xD6E1, 'y'}},
      {"lead byte at the end", "a\xD6", {'a', 0xD6}},
      {"lead byte before a non-trail byte", "\xD6\x30", {0xD6, '0'}},
      {"0x7F is no trail byte", "\xD6\x7F", {0xD6, 0x7F}},
      {"0xFF is no lead byte", "\xFF\x41", {0xFF, 'A'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(text::cp936::characterCodes(c.text), c.codes);
    std::string joined;
    for (unsigned code : c.codes) joined += text::cp936::bytesOf(code);
    EXPECT_EQ(joined, c.text) << "bytesOf undoes characterCodes";
  }
}

TEST(Cp936, FindsTheStartOfTheCharacterHoldingAByte) {
  const std::string text =
      "a\xD6\xE1"
      "b";  // a 轴 b
  struct Case {
    std::size_t position, start, previous, length;
  } cases[] = {
      {0, 0, 0, 1}, {1, 1, 0, 2}, {2, 1, 1, 0}, {3, 3, 1, 1}, {4, 4, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(text::cp936::characterStart(text, c.position), c.start);
    EXPECT_EQ(text::cp936::previousCharacter(text, c.position), c.previous);
    if (c.position != 2) {  // the middle of a character starts none
      EXPECT_EQ(text::cp936::characterLength(text, c.position), c.length);
    }
  }
}

// Command, group and layer names compare this way.
TEST(Cp936, ComparesAsciiLettersWithoutCaseAndDoubleByteCharactersExactly) {
  struct Case {
    std::string a, b;
    bool equal;
  } cases[] = {
      {"Axis", "aXIS", true},
      {"Axis", "Axes", false},
      {"Axis", "Axis1", false},
      {"ab", "abc", false},
      {"", "", true},
      {"\xD6\xE1\xCF\xDF", "\xD6\xE1\xCF\xDF", true},
      // 0xC4 0x41 and 0xC4 0x61 are two characters whose trail bytes happen
      // to be the letters A and a.
      {"\xC4\x41", "\xC4\x61", false},
      {"\x81\x41", "\x81\x61", false},
      {"x\xC4\x41Y", "X\xC4\x41y", true},
      {"\xD6\xE1"
       "A",
       "\xD6\xE1"
       "a",
       true},
      // Only ASCII letters fold.
      {"[", "{", false},
      {"@", "`", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text::cp936::equalIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

}  // namespace
