#include "text/iconv_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::size_t twoBytes(std::string_view) {
  return 2;
}
std::size_t none(std::string_view) {
  return 0;
}

class IconvConversion : public ::testing::Test {
 protected:
  // Converts with a descriptor that an earlier, failed conversion left in the
  // middle of its work (shifted, for an encoding with shift states), so each
  // case also shows that the descriptor is reset first.
  bool convert(const char* from, const char* to, std::string_view input, std::string& out,
               const text::Substitution* substitution = nullptr,
               std::size_t* substituted = nullptr) {
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << from << " to " << to;
    std::string warmUp;
    text::appendConverted(cd, "\xE6\x97\xA5\xFF", warmUp);
    const bool ok = text::appendConverted(cd, input, out, substitution, substituted);
    iconv_close(cd);
    return ok;
  }
};

TEST_F(IconvConversion, AppendsTheWholeConversion) {
  std::string out = "kept:";
  EXPECT_TRUE(convert("CP936", "UTF-8", "a\xD6\xE1", out));
  EXPECT_EQ(out, "kept:a\xE8\xBD\xB4");  // a 轴

  // More output than one buffer of the loop holds.
  const std::string many(20000, '\xA1');
  std::string wide;
  EXPECT_TRUE(convert("CP1252", "UTF-8", many, wide));
  EXPECT_EQ(wide.size(), 2 * many.size());
  EXPECT_EQ(wide.substr(wide.size() - 2), "\xC2\xA1");

  // The shift state is flushed at the end: back to ASCII.
  std::string shifted;
  EXPECT_TRUE(convert("UTF-8", "ISO-2022-JP", "\xE6\x97\xA5", shifted));
  EXPECT_EQ(shifted, "\x1B$BF|\x1B(B");

  std::string empty;
  EXPECT_TRUE(convert("UTF-8", "CP936", "", empty));
  EXPECT_EQ(empty, "");
}

TEST_F(IconvConversion, StopsOrSubstitutesAtWhatItCannotConvert) {
  const text::Substitution oneByte{"?", none};  // skips one byte all the same
  const text::Substitution doubleByte{"<>", twoBytes};
  struct Case {
    const char* label;
    const char* from;
    const char* to;
    std::string_view input;
    const text::Substitution* substitution;
    bool ok;
    std::string out;
    std::size_t substituted;
  } cases[] = {
      {"strict stops", "CP936", "UTF-8", "a\xFFz", nullptr, false, "a", 0},
      {"undefined byte", "CP936", "UTF-8", "a\xFFz\xFFy", &oneByte, true, "a?z?y", 2},
      {"cut off at the end", "CP936", "UTF-8", "a\xD6", &oneByte, true, "a?", 1},
      {"not representable", "UTF-8", "CP936", "x\xF0\x9F\x98\x80y", &oneByte, true, "x????y", 4},
      {"a length skips more", "UTF-8", "ASCII", "\xC3\xA9\xC3\xA9!", &doubleByte, true, "<><>!", 2},
      {"never past the end", "UTF-8", "ASCII", "ok\xC3", &doubleByte, true, "ok<>", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string out;
    std::size_t substituted = 0;
    EXPECT_EQ(convert(c.from, c.to, c.input, out, c.substitution, &substituted), c.ok);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(substituted, c.substituted);
  }
}

}  // namespace
