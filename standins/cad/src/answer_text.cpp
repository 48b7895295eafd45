#include "answer_text.h"

#include <cstddef>

#include "text/cp936.h"
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
  return text::cp936::equalIgnoringAsciiCase(text::trimBlanks(line), "*cancel*");
}

}  // namespace cad::detail
