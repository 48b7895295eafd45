#include "formats/number_format.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace tavrin {

namespace {

constexpr std::uint64_t kMillion = 1000000;

// |value| × 10^6 rounded to an integer exactly as "%.6f" rounds it (to
// nearest, ties to even, from the exact binary value), when that integer fits
// in 64 bits. The double is m × 2^e with m < 2^53, so m × 10^6 < 2^73 is exact
// in 128 bits and one shift with a rounding look at the bits shifted out gives
// the answer without any floating-point step.
bool scaledMicros(double magnitude, std::uint64_t& micros) {
  if (!(magnitude < 1.8e13)) return false;
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biasedExponent = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;  // subnormals and zero
  if (biasedExponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biasedExponent - 1075;
  }
  // magnitude = mantissa × 2^exponent exactly, and below 2^44, so the
  // exponent is negative.
  const int shift = -exponent;
  if (shift >= 120) {  // m × 10^6 < 2^73 is far below half of 2^shift
    micros = 0;
    return true;
  }
  const unsigned __int128 one = 1;
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kMillion;
  const unsigned __int128 rest = scaled & ((one << shift) - 1);
  const unsigned __int128 half = one << (shift - 1);
  auto quotient = static_cast<std::uint64_t>(scaled >> shift);
  if (rest > half || (rest == half && (quotient & 1) != 0)) ++quotient;
  micros = quotient;
  return true;
}

}  // namespace

void appendFixed(std::string& text, double value) {
  if (std::isnan(value)) {
    text += std::signbit(value) ? "-nan" : "nan";
    return;
  }
  std::uint64_t micros = 0;
  if (scaledMicros(std::fabs(value), micros)) {
    // Sign, up to 14 integer digits, point, six decimals, written in place:
    // this runs for every number of an axis file.
    constexpr std::size_t kLongest = 22;
    const std::size_t start = text.size();
    text.resize(start + kLongest);
    char* const first = text.data() + start;
    char* out = first;
    if (std::signbit(value)) *out++ = '-';
    out = std::to_chars(out, first + kLongest, micros / kMillion).ptr;
    *out++ = '.';
    std::uint64_t decimals = micros % kMillion;
    for (int i = 5; i >= 0; --i, decimals /= 10) out[i] = static_cast<char>('0' + decimals % 10);
    text.resize(start + static_cast<std::size_t>(out + 6 - first));
    return;
  }
  // The largest double has 309 digits before the point.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  text.append(buffer, result.ptr);
}

void appendInteger(std::string& text, std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

}  // namespace tavrin
