#include "text/code_page.h"

#include <iconv.h>

#include <memory>
#include <string_view>

#include "text/cp936.h"
#include "text/iconv_conversion.h"

namespace text {
namespace {

struct IconvCloser {
  void operator()(iconv_t* cd) const {
    iconv_close(*cd);
    delete cd;
  }
};
using Converter = std::unique_ptr<iconv_t, IconvCloser>;

Converter openConverter(const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return Converter(new iconv_t(cd));
}

// How many bytes a bad sequence takes up, so one replacement stands for one
// character.
std::size_t utf8SequenceLength(std::string_view rest) {
  const unsigned char lead = static_cast<unsigned char>(rest.front());
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

std::size_t cp936SequenceLength(std::string_view rest) {
  return text::cp936::characterLength(rest, 0);
}

// Without a substitution, null at the first sequence that cannot be converted.
std::optional<std::string> convert(std::string_view text, const char* from, const char* to,
                                   const text::Substitution* substitution = nullptr) {
  if (text.empty()) return std::string();
  Converter cd = openConverter(from, to);
  if (!cd) return std::nullopt;
  std::string out;
  out.reserve(text.size() * 3 / 2 + 8);
  if (!text::appendConverted(*cd, text, out, substitution)) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> cp936ToUtf8(std::string_view text) {
  return convert(text, "CP936", "UTF-8");
}

std::optional<std::string> utf8ToCp936(std::string_view text) {
  return convert(text, "UTF-8", "CP936");
}

std::string cp936ToUtf8Lossy(std::string_view text) {
  static constexpr text::Substitution kReplacementCharacter{"\xEF\xBF\xBD", cp936SequenceLength};
  return convert(text, "CP936", "UTF-8", &kReplacementCharacter).value_or(std::string());
}

std::string utf8ToCp936Lossy(std::string_view text) {
  static constexpr text::Substitution kQuestionMark{"?", utf8SequenceLength};
  return convert(text, "UTF-8", "CP936", &kQuestionMark).value_or(std::string());
}

}  // namespace text
