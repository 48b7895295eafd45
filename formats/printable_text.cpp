#include "printable_text.h"

namespace tavrin {

std::string printableText(std::string_view text, std::size_t limit) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const std::size_t shownLength = text.size() > limit ? limit : text.size();
  std::string shown;
  shown.reserve(shownLength + 3);
  for (std::size_t i = 0; i < shownLength; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += static_cast<char>(byte);
    } else {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    }
  }
  return text.size() > shownLength ? shown + "..." : shown;
}

}  // namespace tavrin
