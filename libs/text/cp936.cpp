#include "text/cp936.h"

namespace text::cp936 {

bool isLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

std::size_t characterLength(std::string_view text, std::size_t position) {
  if (position >= text.size()) return 0;
  if (isLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < text.size() &&
      isTrailByte(static_cast<unsigned char>(text[position + 1])))
    return 2;
  return 1;
}

std::size_t characterStart(std::string_view text, std::size_t position) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t next = start + characterLength(text, start);
    if (next > position) return start;
    start = next;
  }
  return text.size();
}

std::size_t previousCharacter(std::string_view text, std::size_t position) {
  if (position == 0) return 0;
  return characterStart(text, position - 1);
}

std::vector<unsigned> characterCodes(std::string_view text) {
  std::vector<unsigned> codes;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = characterLength(text, i);
    unsigned code = static_cast<unsigned char>(text[i]);
    if (length == 2) code = code * 256 + static_cast<unsigned char>(text[i + 1]);
    codes.push_back(code);
    i += length;
  }
  return codes;
}

std::string bytesOf(unsigned code) {
  if (code > 0xFF) return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  return std::string(1, static_cast<char>(code));
}

namespace {
char foldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = characterLength(a, i);
    if (length == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (foldAscii(a[i]) != foldAscii(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

}  // namespace text::cp936
