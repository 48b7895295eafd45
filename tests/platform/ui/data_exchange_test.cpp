#include "ui/data_exchange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

TEST(ParseInt, ReadsSignAndDigitsBetweenBlanksAndTabsOnly) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"12", 12},
      {" \t-7\t ", -7},
      {"+3", 3},
      {"0012", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"+", std::nullopt},
      {"1 2", std::nullopt},
      {"1.0", std::nullopt},
      {"12a", std::nullopt},
      {"--1", std::nullopt},
      {"2147483648", std::nullopt},  // beyond 32 bits
      {"\n1", std::nullopt},         // only blanks and tabs are skipped
  };
  for (const Case& c : cases) EXPECT_EQ(ui::parseInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseDouble, ReadsADecimalNumberBetweenBlanksAndTabsOnly) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1", 1.0},
      {" 2.5 ", 2.5},
      {"-.5", -0.5},
      {"+3.", 3.0},
      {"1e3", 1000.0},
      {"1.5E-2", 0.015},
      {"\t7e+1\t", 70.0},
      {"", std::nullopt},
      {".", std::nullopt},
      {"e5", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,5", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1e999", std::nullopt},  // no double holds it
      {"2 3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::parseDouble(c.text), c.value) << '"' << c.text << '"';
}

TEST(FormatDouble, WritesTheShortestFormWithFifteenSignificantDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {1.0, "1"},
      {-2500.0, "-2500"},
      {0.1 + 0.2, "0.3"},
      {3.14159265358979323, "3.14159265358979"},
      {123456789012345678.0, "1.23456789012346e+17"},
      {1e-7, "1e-07"},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::formatDouble(c.value), c.text) << c.value;
  // Written and read back, a value keeps 15 significant digits.
  double roundTrip = *ui::parseDouble(ui::formatDouble(2.0 / 3.0));
  EXPECT_EQ(roundTrip, 0.666666666666667);
}

}  // namespace
