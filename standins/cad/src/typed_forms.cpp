#include "cad/typed_forms.h"

#include "text/cp936.h"
#include "text/trim.h"

namespace cad {

std::string withAsciiForms(std::string_view utf8) {
  std::string result;
  result.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    // U+FF01..U+FF5E are EF BC 81..EF BC BF and EF BD 80..EF BD 9E; U+3000 is E3 80 80.
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
    if (i + 2 < utf8.size() && byte(0) == 0xEF && (byte(1) == 0xBC || byte(1) == 0xBD)) {
      const unsigned code = (byte(1) == 0xBC ? 0xFF00u : 0xFF40u) + (byte(2) & 0x3Fu);
      if ((byte(2) & 0xC0) == 0x80 && code >= 0xFF01 && code <= 0xFF5E) {
        result += static_cast<char>(code - 0xFF01 + 0x21);
        i += 3;
        continue;
      }
    }
    if (i + 2 < utf8.size() && byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) {
      result += ' ';
      i += 3;
      continue;
    }
    result += utf8[i++];
  }
  return result;
}

namespace {

bool isOneOf(std::string_view line, std::initializer_list<std::string_view> words) {
  const std::string ascii = withAsciiForms(line);
  const std::string_view word = text::trimBlanks(ascii);
  for (std::string_view w : words)
    if (text::cp936::equalIgnoringAsciiCase(word, w)) return true;
  return false;
}

}  // namespace

bool isHelpAnswer(std::string_view line) {
  return isOneOf(line, {"?", "help"});
}

bool isQuitAnswer(std::string_view line) {
  return isOneOf(line, {"quit", "exit"});
}

}  // namespace cad
