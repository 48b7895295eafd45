#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin {

// Text from a file or a path as a message shows it: at most `limit` bytes of
// `text`, every byte outside printable ASCII as \xNN (upper-case hex), and
// "..." when it was cut. The result is valid UTF-8 whatever the code page.
std::string printableText(std::string_view text, std::size_t limit);

// The whole of `text` that way.
inline std::string printableText(std::string_view text) {
  return printableText(text, text.size());
}

}  // namespace tavrin
