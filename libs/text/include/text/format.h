#pragma once

#include <cstdarg>
#include <optional>
#include <string>

namespace text {

// The printf-style `format` with `args`, as a string of any length. Null when
// the format cannot be applied (vsnprintf reports an error). Leaves `args`
// unconsumed: the caller still owns it and ends it with va_end.
std::optional<std::string> formatV(const char* format, va_list args);

}  // namespace text
