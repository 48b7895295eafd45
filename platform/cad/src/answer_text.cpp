#include "answer_text.h"

#include <cstddef>

#include "text/trim.h"

namespace cad::detail {

std::string withAsciiCommas(std::string_view text) {
  constexpr std::string_view kFullWidthComma = "\xEF\xBC\x8C";
  std::string result;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i, kFullWidthComma.size()) == kFullWidthComma) {
      result += ',';
      i += kFullWidthComma.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

bool isCancelAnswer(std::string_view line) {
  constexpr std::string_view kCancel = "*cancel*";
  const std::string_view text = text::trimBlanks(line);
  if (text.size() != kCancel.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kCancel[i]) return false;
  }
  return true;
}

}  // namespace cad::detail
