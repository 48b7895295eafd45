#include "ui/data_exchange.h"

#include <gtest/gtest.h>

#include "text/decimal.h"

namespace {

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
  double roundTrip = *text::parseReal(ui::formatDouble(2.0 / 3.0));
  EXPECT_EQ(roundTrip, 0.666666666666667);
}

}  // namespace
