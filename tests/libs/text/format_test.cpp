#include "text/format.h"

#include <gtest/gtest.h>

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
