#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Numbers in the text of the module's files, written as the C library's
// "%f" and "%d" conversions write them in the C locale, whatever locale the
// process runs in.

// Appends `value` with exactly six decimals, rounded, at least one digit
// before the point and a leading '-' when negative ("-0.000000" for tiny
// negatives and -0.0); "inf", "-inf", "nan" or "-nan" when not finite.
void appendFixed(std::string& text, double value);
// Appends `value` in decimal with a leading '-' when negative.
void appendInteger(std::string& text, std::int64_t value);

}  // namespace tavrin
