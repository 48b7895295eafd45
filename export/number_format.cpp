#include "export/number_format.h"

#include <charconv>
#include <cmath>

namespace tavrin {

void appendFixed(std::string& text, double value) {
  // The largest double has 309 digits before the point.
  char buffer[400];
  if (std::isnan(value)) {
    text += std::signbit(value) ? "-nan" : "nan";
    return;
  }
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
