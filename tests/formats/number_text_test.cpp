#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formats/number_format.h"
#include "formats/number_parse.h"

namespace tavrin {

namespace {

std::string fixed(double value) {
  std::string text;
  appendFixed(text, value);
  return text;
}

TEST(NumberFormat, RealsHaveSixRoundedDecimals) {
  struct Case {
    const char* label;
    double value;
    const char* text;
  } cases[] = {
      {"zero", 0.0, "0.000000"},
      {"negative zero", -0.0, "-0.000000"},
      {"tiny negative", -1e-9, "-0.000000"},
      {"rounds up", 0.1234567, "0.123457"},
      {"rounds down", 0.1234564, "0.123456"},
      {"negative", -2500.0, "-2500.000000"},
      {"large", 1e20, "100000000000000000000.000000"},
      {"right angle in degrees", 1.5707963267948966 * 57.295780490442965, "90.000002"},
      {"infinity", std::numeric_limits<double>::infinity(), "inf"},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fixed(c.value), c.text) << c.label;
    char printed[512];
    std::snprintf(printed, sizeof printed, "%f", c.value);
    EXPECT_EQ(fixed(c.value), printed) << c.label << " differs from the C library";
  }
}

// The short way for numbers below 1.8e13 must agree with the C library on
// every double, in particular where rounding is decided: exact ties (k/128
// is a tie at six decimals), one unit in the last place either side of a
// half, the edge of the short way and subnormals.
TEST(NumberFormat, EveryRealPrintsAsTheCLibraryPrintsIt) {
  std::mt19937_64 random(20261209);
  std::vector<double> values;
  for (int k = -2000; k <= 2000; ++k) values.push_back(k / 128.0);
  for (int k = 0; k < 200000; ++k) {
    const double magnitude = std::pow(10.0, std::uniform_real_distribution<double>(-9, 16)(random));
    values.push_back(k % 2 == 0 ? magnitude : -magnitude);
    const double half = (std::floor(magnitude * 1e6) + 0.5) / 1e6;
    values.push_back(std::nextafter(half, 0.0));
    values.push_back(half);
    values.push_back(std::nextafter(half, 1e300));
  }
  for (const double edge :
       {1.8e13, 1.7999999999999e13, 9007199254740992.0, 4503599627370495.5,
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(), 5e-7,
        4.9999999999999996e-7, 1.5e-6, 2.5e-6})
    for (const double v : {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 1e300)}) {
      values.push_back(v);
      values.push_back(-v);
    }
  int mismatches = 0;
  for (const double value : values) {
    char printed[512];
    std::snprintf(printed, sizeof printed, "%f", value);
    if (fixed(value) != printed && ++mismatches <= 5)
      ADD_FAILURE() << std::hexfloat << value << ": " << fixed(value) << " but %f gives "
                    << printed;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(NumberFormat, IntegersInDecimal) {
  std::string text;
  appendInteger(text, 3);
  text += ',';
  appendInteger(text, -2147483648LL);
  EXPECT_EQ(text, "3,-2147483648");
}

TEST(NumberParse, RealsTakeTheLongestLeadingNumber) {
  struct Case {
    const char* label;
    const char* text;
    double value;
  } cases[] = {
      {"plain", "1.5", 1.5},
      {"leading white space", " \t\r\n\v\f-2500.000000", -2500.0},
      {"plus sign", "+4", 4.0},
      {"trailing text", "10abc", 10.0},
      {"trailing space", "3 ", 3.0},
      {"exponent", "1e3", 1000.0},
      {"signed exponent", "2.5E-1", 0.25},
      {"exponent without digits stops before the e", "3.9e", 3.9},
      {"exponent sign without digits", "7e+", 7.0},
      {"point without integer digits", ".5", 0.5},
      {"point without fraction digits", "5.", 5.0},
      {"lone point", ".", 0.0},
      {"lone sign", "-", 0.0},
      {"letter", "x", 0.0},
      {"empty", "", 0.0},
      {"no infinity words", "inf", 0.0},
      {"no hexadecimal", "0x10", 0.0},
      {"comma is no decimal point", "1,5", 1.0},
      {"overflow", "1e999", std::numeric_limits<double>::infinity()},
      {"negative overflow", "-1e999", -std::numeric_limits<double>::infinity()},
      {"underflow", "1e-999", 0.0},
  };
  for (const Case& c : cases) EXPECT_EQ(parseLeadingReal(c.text), c.value) << c.label;
}

TEST(NumberParse, IntegersStopAtTheFirstNonDigit) {
  struct Case {
    const char* label;
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"plain", "3", 3},
      {"real with decimals", "3.000000", 3},
      {"truncates", "3.9", 3},
      {"negative", " -12x", -12},
      {"plus", "+7", 7},
      {"letter", "a", 0},
      {"empty", "", 0},
      {"clamped high", "99999999999", 2147483647},
      {"clamped low", "-99999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) EXPECT_EQ(parseLeadingInteger(c.text), c.value) << c.label;
}

}  // namespace

}  // namespace tavrin
