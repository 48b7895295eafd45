#include "text/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "text/trim.h"

namespace text {
namespace {

// Drops one leading '+' that is followed by a digit or a point; from_chars
// accepts only '-'.
std::string_view dropPlus(std::string_view text) {
  if (text.size() >= 2 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  return text;
}

// Plain decimals ("-1234.5678") with at most 15 digits, the common case in a
// drawing, are exact as digits / 10^k: both are doubles without rounding, so
// one correctly rounded division gives the correctly rounded number.
std::optional<double> parsePlainDecimal(std::string_view text) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && *p == ' ') ++p;
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  // Digits past the 19th wrap around, but then there are more than 15.
  std::uint64_t digits = 0;
  const char* whole = p;
  while (p < end && *p >= '0' && *p <= '9')
    digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
  std::ptrdiff_t count = p - whole;
  std::ptrdiff_t fraction = 0;
  if (p < end && *p == '.') {
    const char* part = ++p;
    while (p < end && *p >= '0' && *p <= '9')
      digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    fraction = p - part;
    count += fraction;
  }
  if (p != end || count == 0 || count > 15) return std::nullopt;
  double value = static_cast<double>(digits);
  if (fraction > 0) value /= kPowersOfTen[fraction];
  return negative ? -value : value;
}

template <typename Integer>
std::optional<Integer> parseWhole(std::string_view text) {
  text = dropPlus(trimBlanks(text));
  if (text.empty()) return std::nullopt;
  Integer value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> parseReal(std::string_view text) {
  if (std::optional<double> plain = parsePlainDecimal(text)) return plain;
  text = dropPlus(trimBlanks(text));
  if (text.empty()) return std::nullopt;
  double value = 0.0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  // from_chars also takes "inf" and "nan"; no field or drawing means them.
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<long long> parseInteger(std::string_view text) {
  return parseWhole<long long>(text);
}

std::optional<int> parseInt(std::string_view text) {
  return parseWhole<int>(text);
}

}  // namespace text
