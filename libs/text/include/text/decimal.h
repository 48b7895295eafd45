#pragma once

#include <optional>
#include <string_view>

// Strict decimal numbers, as typed into a dialog field or an answer and as
// written in a drawing. Blanks (spaces, tabs) around the number are allowed;
// anything else that is not part of it makes the text no number (null).
namespace text {

// One optional sign ('+' or '-'), digits with an optional decimal point (at
// least one digit on either side of it), an optional exponent ('e' or 'E',
// an optional sign, digits). The nearest double; null when the number is out
// of the range of double ("1e999"). "inf", "nan", hexadecimal, a decimal
// comma and a second sign are no numbers.
std::optional<double> parseReal(std::string_view text);

// One optional sign ('+' or '-') and decimal digits; null when the value does
// not fit the type.
std::optional<long long> parseInteger(std::string_view text);
std::optional<int> parseInt(std::string_view text);

}  // namespace text
