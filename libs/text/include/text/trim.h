#pragma once

#include <string_view>

// Blanks around a word or a number: spaces and tabs, nothing else (a line
// feed or a form feed is text). The one trim of the host, its DXF reader and
// the user-interface library.
namespace text {

// `text` without the blanks at either end; a view into `text`.
std::string_view trimBlanks(std::string_view text);

// As trimBlanks, but carriage returns among the blanks at the end go too: a
// line of a CR LF file whose CR is still attached, as DXF values may be.
std::string_view trimBlanksAndTrailingCr(std::string_view text);

}  // namespace text
