#pragma once

#include <cstdint>
#include <string_view>

namespace tavrin {

// Reads the number at the start of a field of text, tolerantly: leading white
// space (space, tab, LF, VT, FF, CR) is skipped, the longest prefix that
// forms a number is taken and the rest is ignored. Text without a number
// gives 0. Independent of the process's locale: the decimal point is '.'.

// An optional sign, digits with an optional '.', and an optional exponent
// ('e' or 'E', optional sign, digits). "3.9e" reads 3.9, "abc" and "." read 0.
// A magnitude beyond the range of double gives an infinity of that sign; one
// below the smallest double gives zero.
double parseLeadingReal(std::string_view text);

// An optional sign and decimal digits: "3.9" reads 3, "-12x" reads -12,
// "x" reads 0. Values beyond the 32-bit range are clamped to it.
std::int32_t parseLeadingInteger(std::string_view text);

}  // namespace tavrin
