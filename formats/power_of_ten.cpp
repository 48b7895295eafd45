#include "formats/power_of_ten.h"

#include <cmath>

namespace tavrin {

namespace {
// The double nearest to ln 10.
constexpr double kLn10 = 2.302585092994046;
}  // namespace

double powerOfTen(std::int32_t exponent) {
  return std::exp(exponent * kLn10);
}

}  // namespace tavrin
