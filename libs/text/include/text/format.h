#pragma once

#include <cstdarg>
#include <optional>
#include <string>

namespace text {

// The printf-style `format` with `args`, as a string of any length. Null when
// the format cannot be applied (vsnprintf reports an error). Leaves `args`
// unconsumed: the caller still owns it and ends it with va_end.
std::optional<std::string> formatV(const char* format, va_list args);

// `value` with `decimals` decimals ("%.3f") while it has at most 15 digits
// before the point; a larger one in scientific form with as many decimals
// ("-1.000e+300"), so the text is always the whole value and stays short.
// "inf", "-inf", "nan" as the C library writes them. `decimals` 0 to 20.
std::string numberText(double value, int decimals);

}  // namespace text
