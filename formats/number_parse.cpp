#include "formats/number_parse.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace tavrin {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return i;
}

}  // namespace

double parseLeadingReal(std::string_view text) {
  std::size_t i = skipSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  const std::size_t numberStart = i;
  std::size_t digits = 0;
  // Digits before the first nonzero one and where the point lies tell an
  // overflow from an underflow when the value is out of range.
  std::int64_t integerDigits = 0;
  bool seenNonZero = false;
  std::int64_t leadingFractionZeros = 0;
  while (i < text.size() && isDigit(text[i])) {
    if (text[i] != '0') seenNonZero = true;
    if (seenNonZero) ++integerDigits;
    ++digits;
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      if (text[i] != '0') seenNonZero = true;
      if (!seenNonZero) ++leadingFractionZeros;
      ++digits;
      ++i;
    }
  }
  if (digits == 0) return 0.0;

  std::int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
        ++j;
      }
      if (negativeExponent) exponent = -exponent;
      i = j;
    }
  }

  const std::string_view number = text.substr(numberStart, i - numberStart);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    const std::int64_t magnitude =
        (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

std::int32_t parseLeadingInteger(std::string_view text) {
  std::size_t i = skipSpace(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (i < text.size() && isDigit(text[i])) {
    if (value <= kBeyond) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace tavrin
