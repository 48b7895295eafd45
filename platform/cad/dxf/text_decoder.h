#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Turns the bytes of a drawing's texts and names into UTF-8. Drawings before
// AC1021 store them in the code page named by $DWGCODEPAGE; from AC1021 on
// they are UTF-8 whatever $DWGCODEPAGE says. Either way "\U+XXXX" escapes are
// then expanded.
namespace cad::dxf {

class TextDecoder {
 public:
  // `version` is $ACADVER (e.g. "AC1015"), `codePage` is $DWGCODEPAGE (e.g.
  // "ANSI_936"); either may be empty when the drawing has no such variable
  // (then ANSI_1252 is assumed, the format's default).
  TextDecoder(std::string_view version, std::string_view codePage);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Decodes `raw` into `out` (UTF-8). False with `reason` set when the bytes
  // are not valid in the drawing's encoding or the code page is unknown.
  // ASCII without escapes is copied as it is.
  bool decode(std::string_view raw, std::string& out, std::string& reason) const;

  // The iconv name of the source encoding, e.g. "CP936" or "UTF-8"; empty
  // when the drawing names a code page this reader does not know.
  const std::string& encoding() const { return encoding_; }

 private:
  struct Converter;
  std::string codePage_;
  std::string encoding_;
  std::unique_ptr<Converter> converter_;
};

// The iconv encoding for a $DWGCODEPAGE value ("ANSI_936" -> "CP936",
// "DOS850" -> "CP850", ...); empty for an unknown name.
std::string encodingForCodePage(std::string_view codePage);

// Appends the UTF-8 form of `text` with each "\U+XXXX" (four hexadecimal
// digits naming a character other than a surrogate) replaced by that
// character. `text` must be UTF-8.
void expandUnicodeEscapes(std::string_view text, std::string& out);

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values
// past U+10FFFF).
bool isValidUtf8(std::string_view text);

}  // namespace cad::dxf
