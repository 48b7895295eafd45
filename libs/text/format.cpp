#include "text/format.h"

#include <cstdio>

namespace text {

std::optional<std::string> formatV(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(length) + 1, '\0');
  va_list write;
  va_copy(write, args);
  std::vsnprintf(out.data(), out.size(), format, write);
  va_end(write);
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace text
