#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the module's 8-bit code page 936 and the UTF-8 that the
// terminal, scripts and the operating system use.
//
// The strict conversions answer null, not a failed base::Status: that a text
// has no form in the other encoding is a plain answer about the text, which
// every caller words for its own context (a layer name, a path, an event) or
// uses to skip a name. There is no further reason to give.
namespace text {

// Null when `text` is not valid code page 936.
std::optional<std::string> cp936ToUtf8(std::string_view text);
// Null when `text` is not valid UTF-8 or holds a character code page 936
// cannot represent. Never substitutes.
std::optional<std::string> utf8ToCp936(std::string_view text);
// For display only: invalid sequences become U+FFFD.
std::string cp936ToUtf8Lossy(std::string_view text);
// For display only: what cannot be represented becomes '?'.
std::string utf8ToCp936Lossy(std::string_view text);

}  // namespace text
