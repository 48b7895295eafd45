#include "text/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <optional>
#include <string>

namespace {

std::optional<std::string> format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  std::optional<std::string> out = text::formatV(pattern, args);
  va_end(args);
  return out;
}

TEST(Format, AppliesTheFormatAtAnyLength) {
  EXPECT_EQ(format("%s=%d", "floor", 3), "floor=3");
  EXPECT_EQ(format(""), "");
  EXPECT_EQ(format("%.6f,", -2500.0), "-2500.000000,");
  // Longer than any fixed buffer a caller might guess.
  const std::string path(5000, 'x');
  EXPECT_EQ(format("[%s]", path.c_str()), "[" + path + "]");
  // Embedded code page 936 bytes pass through unchanged.
  EXPECT_EQ(format("%s\xD6\xE1", "a"), "a\xD6\xE1");
}

TEST(Format, ReportsAFormatThatCannotBeApplied) {
  // A wide character the "C" locale cannot represent: vsnprintf fails.
  EXPECT_EQ(format("%lc", static_cast<wint_t>(0x4E2D)), std::nullopt);
}

}  // namespace

// A fixed-size "%.3f" once cut 1e300 to 63 digits: the text must always be
// the whole value, and short.
TEST(NumberText, WholeValueFixedOrScientific) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {1234.5678, 3, "1234.568"},
      {-0.0004, 3, "-0.000"},
      {999999999999999.0, 1, "999999999999999.0"},
      {1e15, 3, "1.000e+15"},
      {-1e300, 3, "-1.000e+300"},
      {1.7976931348623157e308, 3, "1.798e+308"},
      {-2.5, 0, "-2"},
      {INFINITY, 3, "inf"},
      {-1e300, 50, "-1.00000000000000005250e+300"},  // at most 20 decimals
  };
  for (const Case& c : cases) EXPECT_EQ(text::numberText(c.value, c.decimals), c.text) << c.value;
}
