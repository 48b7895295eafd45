#include "dxf/text_decoder.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>

#include "text/iconv_conversion.h"

namespace cad::dxf {

struct TextDecoder::Converter {
  explicit Converter(iconv_t handle) : cd(handle) {}
  ~Converter() { iconv_close(cd); }
  iconv_t cd;
};

namespace {

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A code page name as given by the drawing, fit for a message.
std::string printableName(std::string_view name) {
  std::string out;
  for (char c : name.substr(0, 40)) {
    unsigned char u = static_cast<unsigned char>(c);
    out.push_back(u < 0x20 || u >= 0x7F ? '?' : c);
  }
  return out;
}

std::size_t firstByteOnly(std::string_view) {
  return 1;
}

// The code pages by number: Windows ("ANSI_") and DOS ones.
constexpr std::string_view kAnsiPages[] = {"874",  "932",  "936",  "949",  "950",  "1250", "1251",
                                           "1252", "1253", "1254", "1255", "1256", "1257", "1258"};
constexpr std::string_view kDosPages[] = {"437", "850", "852", "855", "857", "860",
                                          "861", "863", "864", "865", "866", "869"};

std::string toUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

bool isUnicodeVersion(std::string_view version) {
  // "AC1021" (the 2007 format) and later; versions are "AC" and four digits.
  return version.size() == 6 && version.substr(0, 2) == "AC" && version.substr(2) >= "1021";
}

void appendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string encodingForCodePage(std::string_view codePage) {
  const std::string name = toUpper(codePage);
  std::string_view digits;
  if (name.starts_with("ANSI_")) {
    digits = std::string_view(name).substr(5);
  } else if (name.starts_with("DOS")) {
    digits = std::string_view(name).substr(3);
  } else {
    return {};
  }
  if (digits.empty() || digits.size() > 4 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return {};
  const auto listed = [digits](const auto& pages) {
    return std::find(std::begin(pages), std::end(pages), digits) != std::end(pages);
  };
  if (!(name.starts_with("ANSI_") ? listed(kAnsiPages) : listed(kDosPages))) return {};
  return "CP" + std::string(digits);
}

std::string knownCodePages() {
  std::string list;
  for (std::string_view digits : kAnsiPages)
    list += (list.empty() ? "ANSI_" : ", ANSI_") + std::string(digits);
  for (std::string_view digits : kDosPages) list += ", DOS" + std::string(digits);
  return list;
}

TextDecoder::TextDecoder(std::string_view version, std::string_view codePage,
                         std::string_view fallback) {
  if (isUnicodeVersion(version)) {
    codePage_ = encoding_ = "UTF-8";
    return;
  }
  codePage_ = toUpper(codePage);
  encoding_ = encodingForCodePage(codePage_);
  if (encoding_.empty()) {
    declared_ = false;
    codePage_ = toUpper(fallback);
    encoding_ = encodingForCodePage(codePage_);
  }
  if (encoding_.empty()) {
    codePage_ = "ANSI_1252";
    encoding_ = "CP1252";
  }
  iconv_t cd = iconv_open("UTF-8", encoding_.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    encoding_.clear();
    return;
  }
  converter_ = std::make_unique<Converter>(cd);
}

TextDecoder::~TextDecoder() = default;

base::Status TextDecoder::decode(std::string_view raw, std::string& out) const {
  out.clear();
  if (isAscii(raw)) {
    expandUnicodeEscapes(raw, out);
    return base::Status::ok();
  }
  bool replaced = false;
  std::string converted;
  if (convert(raw, converted, false, replaced)) {
    expandUnicodeEscapes(converted, out);
    return base::Status::ok();
  }
  if (encoding_ == "UTF-8") return base::Status::error("text is not valid UTF-8");
  if (!converter_)
    return base::Status::error("text is not ASCII and the drawing's code page \"" +
                               printableName(codePage_) + "\" is unknown");
  return base::Status::error("text is not valid in the drawing's code page " +
                             printableName(codePage_));
}

bool TextDecoder::decodeLenient(std::string_view raw, std::string& out) const {
  out.clear();
  if (isAscii(raw)) {
    expandUnicodeEscapes(raw, out);
    return false;
  }
  bool replaced = false;
  std::string converted;
  convert(raw, converted, true, replaced);
  expandUnicodeEscapes(converted, out);
  return replaced;
}

bool TextDecoder::decodeEscaped(std::string_view raw, std::string& out) const {
  if (decode(raw, out).isOk()) return false;
  out.clear();
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto escape = [&out](unsigned char byte) {
    out += "\\x";
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
  };
  // One character at a time: the shortest piece from here that converts is
  // the character; when none of up to four bytes does, the first byte is
  // escaped.
  constexpr std::size_t kLongestCharacter = 4;
  std::string piece;
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t length = 0;
    for (std::size_t n = 1; n <= kLongestCharacter && i + n <= raw.size() && length == 0; ++n) {
      piece.clear();
      bool replaced = false;
      if (convert(raw.substr(i, n), piece, false, replaced)) length = n;
    }
    if (length == 0 || piece == "\\") {
      escape(static_cast<unsigned char>(raw[i]));
      ++i;
      continue;
    }
    out += piece;
    i += length;
  }
  return true;
}

bool TextDecoder::convert(std::string_view raw, std::string& out, bool lenient,
                          bool& replaced) const {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
  out.reserve(raw.size() * 2);
  if (encoding_ == "UTF-8" || !converter_) {
    const bool utf8 = encoding_ == "UTF-8";
    std::size_t i = 0;
    while (i < raw.size()) {
      std::size_t length = 1;
      if (static_cast<unsigned char>(raw[i]) >= 0x80)
        length = utf8 ? utf8CharacterLength(raw.substr(i)) : 0;
      if (length == 0) {
        if (!lenient) return false;
        out += kReplacement;
        replaced = true;
        ++i;
        continue;
      }
      out.append(raw.substr(i, length));
      i += length;
    }
    return true;
  }
  if (!lenient) return text::appendConverted(converter_->cd, raw, out);
  // An undefined byte or a double-byte character cut off at the end: one
  // replacement character for its first byte.
  static constexpr text::Substitution kOneByte{kReplacement, firstByteOnly};
  std::size_t substituted = 0;
  text::appendConverted(converter_->cd, raw, out, &kOneByte, &substituted);
  if (substituted > 0) replaced = true;
  return true;
}

void expandUnicodeEscapes(std::string_view text, std::string& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t slash = text.find("\\U+", i);
    if (slash == std::string_view::npos || slash + 7 > text.size()) {
      out.append(text.substr(i));
      return;
    }
    out.append(text.substr(i, slash - i));
    char32_t c = 0;
    bool ok = true;
    for (std::size_t k = 0; k < 4; ++k) {
      int digit = hexValue(text[slash + 3 + k]);
      if (digit < 0) {
        ok = false;
        break;
      }
      c = c * 16 + static_cast<char32_t>(digit);
    }
    if (ok && !(c >= 0xD800 && c <= 0xDFFF) && c != 0) {
      appendUtf8(c, out);
      i = slash + 7;
    } else {
      out.push_back('\\');
      i = slash + 1;
    }
  }
}

std::size_t utf8CharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  unsigned char c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return 1;
  std::size_t length;
  char32_t value;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    value = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    value = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    value = c & 0x07;
  } else {
    return 0;
  }
  if (length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    unsigned char t = static_cast<unsigned char>(text[k]);
    if ((t & 0xC0) != 0x80) return 0;
    value = (value << 6) | (t & 0x3F);
  }
  if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF ||
      (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  return length;
}

bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = utf8CharacterLength(text.substr(i));
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace cad::dxf
