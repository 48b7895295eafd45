#pragma once

#include <cstdint>

namespace tavrin {

// 10 to the power `exponent`, evaluated as exp(exponent x ln 10) in floating
// point. Exactly 1 for 0; for other exponents it may differ from the exact
// power in the last bits, which six-decimal output does not show. Existing
// project files were made with this evaluation.
double powerOfTen(std::int32_t exponent);

}  // namespace tavrin
