#include "text/decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

namespace {

TEST(Decimal, ReadsARealBetweenBlanksAndTabsOnly) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"1", 1.0},
      {"0", 0.0},
      {"512345.678", 512345.678},  // full double precision, not float
      {" 2.5 ", 2.5},
      {"  -1.5e3 ", -1500.0},
      {"-.5", -0.5},
      {".5", 0.5},
      {"+2", 2.0},
      {"+3.", 3.0},
      {"1e3", 1000.0},
      {"1.5E-2", 0.015},
      {"\t7e+1\t", 70.0},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {".", std::nullopt},
      {"e5", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,5", std::nullopt},
      {"1.0abc", std::nullopt},
      {"inf", std::nullopt},
      {"+inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"++1", std::nullopt},
      {"- 1", std::nullopt},
      {"2 3", std::nullopt},
      {"1e999", std::nullopt},  // no double holds it
      {"\n1", std::nullopt},    // only blanks and tabs are skipped
      {"1\r", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(text::parseReal(c.text), c.value) << '"' << c.text << '"';
}

// Numbers as writers put them, short and long, read bit for bit as the
// general parse reads them.
TEST(Decimal, ReadsRealsExactlyWhateverTheirLength) {
  std::mt19937_64 random(936);
  const char* formats[] = {"%.3f", "%.6f", "%.10f", "%.15g", "%.17g", "%.0f", "%.12e"};
  for (int i = 0; i < 200000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 16) - 6);
    const double x = (static_cast<double>(random() % 2000001) / 1000000.0 - 1.0) * magnitude;
    char text[64];
    std::snprintf(text, sizeof text, formats[i % 7], x);
    double expected = 0.0;
    std::from_chars(text, text + std::strlen(text), expected);
    std::optional<double> got = text::parseReal(text);
    ASSERT_TRUE(got.has_value()) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(*got), std::bit_cast<std::uint64_t>(expected)) << text;
  }
  for (const char* text : {"0.1", "-0.0", "999999999999999", "0.000000000000001",
                           "4503599627370497", "1.", "  7.25", "+0.3"}) {
    double expected = 0.0;
    const char* start = text;
    while (*start == ' ' || *start == '+') ++start;
    std::from_chars(start, start + std::strlen(start), expected);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*text::parseReal(text)),
              std::bit_cast<std::uint64_t>(expected))
        << text;
  }
}

TEST(Decimal, ReadsAnIntegerThatFitsItsType) {
  struct Case {
    const char* text;
    std::optional<long long> wide;
    std::optional<int> narrow;
  } cases[] = {
      {"12", 12, 12},
      {"     1", 1, 1},
      {" \t-7\t ", -7, -7},
      {"+3", 3, 3},
      {"0012", 12, 12},
      {"2147483647", 2147483647, 2147483647},
      {"-2147483648", -2147483648LL, -2147483647 - 1},
      {"2147483648", 2147483648LL, std::nullopt},  // beyond 32 bits
      {"99999999999999999999", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"  ", std::nullopt, std::nullopt},
      {"+", std::nullopt, std::nullopt},
      {"1 2", std::nullopt, std::nullopt},
      {"1.0", std::nullopt, std::nullopt},
      {"12a", std::nullopt, std::nullopt},
      {"0x10", std::nullopt, std::nullopt},
      {"--1", std::nullopt, std::nullopt},
      {"+-1", std::nullopt, std::nullopt},
      {"\n1", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::parseInteger(c.text), c.wide) << '"' << c.text << '"';
    EXPECT_EQ(text::parseInt(c.text), c.narrow) << '"' << c.text << '"';
  }
}

}  // namespace
