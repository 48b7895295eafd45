#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"

// Turns the bytes of a drawing's texts and names into UTF-8. Drawings before
// AC1021 store them in the code page named by $DWGCODEPAGE; from AC1021 on
// they are UTF-8 whatever $DWGCODEPAGE says. Either way "\U+XXXX" escapes are
// then expanded. A drawing before AC1021 that names no code page, or one this
// reader does not know, is read in a fallback code page the caller chooses.
namespace cad::dxf {

class TextDecoder {
 public:
  // `version` is $ACADVER (e.g. "AC1015"), `codePage` is $DWGCODEPAGE (e.g.
  // "ANSI_936"); either may be empty when the drawing has no such variable.
  // `fallback` is the code page taken when `codePage` is empty or unknown; an
  // empty or unknown fallback is ANSI_1252, the format's default.
  TextDecoder(std::string_view version, std::string_view codePage, std::string_view fallback = {});
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Decodes `raw` into `out` (UTF-8; `out` is a buffer the caller reuses).
  // Failed, saying why without a place, when the bytes are not valid in the
  // drawing's encoding or are not ASCII and the code page is unknown. ASCII
  // needs no code page: it is copied, escapes expanded, whatever the drawing
  // declares.
  base::Status decode(std::string_view raw, std::string& out) const;

  // As decode, but never fails: each byte the encoding leaves undefined (any
  // byte from 0x80 when the code page is unknown) becomes U+FFFD. True when
  // something was replaced so.
  bool decodeLenient(std::string_view raw, std::string& out) const;

  // For names, which must keep every byte: as decode, but a byte that is
  // not valid in the encoding becomes the four characters "\xNN" (NN its
  // value in upper-case hexadecimal), and so does every backslash of such a
  // name, so that the bytes can be told back from the result. No escapes
  // are expanded in such a name. True when a byte was escaped so.
  bool decodeEscaped(std::string_view raw, std::string& out) const;

  // The iconv name of the source encoding, e.g. "CP936" or "UTF-8".
  const std::string& encoding() const { return encoding_; }
  // The code page the texts are read in: "UTF-8" from AC1021 on, else the
  // drawing's own when this reader knows it, else the fallback (e.g.
  // "ANSI_936").
  const std::string& codePage() const { return codePage_; }
  // True when the code page is the drawing's own (or UTF-8 by its version),
  // false when it is the fallback.
  bool declared() const { return declared_; }

 private:
  struct Converter;
  // Converts `raw` from the drawing's encoding into `out`; lenient replaces
  // what cannot be converted. False (strict only) on the first bad byte.
  bool convert(std::string_view raw, std::string& out, bool lenient, bool& replaced) const;

  std::string codePage_;
  bool declared_ = true;
  std::string encoding_;
  std::unique_ptr<Converter> converter_;
};

// The iconv encoding for a $DWGCODEPAGE value ("ANSI_936" -> "CP936",
// "DOS850" -> "CP850", ...); empty for an unknown name.
std::string encodingForCodePage(std::string_view codePage);

// The code page names encodingForCodePage knows, upper case, comma-separated
// ("ANSI_874, ANSI_932, ..."), for messages.
std::string knownCodePages();

// Appends the UTF-8 form of `text` with each "\U+XXXX" (four hexadecimal
// digits naming a character other than a surrogate) replaced by that
// character. `text` must be UTF-8.
void expandUnicodeEscapes(std::string_view text, std::string& out);

// The length of the well-formed UTF-8 character at the start of `text`; 0
// when it is malformed or `text` is empty.
std::size_t utf8CharacterLength(std::string_view text);

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values
// past U+10FFFF).
bool isValidUtf8(std::string_view text);

}  // namespace cad::dxf
