#include "cad/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <string_view>

#include "text/cp936.h"

namespace cad {
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

enum class Failure { kStop, kReplace };

// Converts `text`; on an invalid or unrepresentable sequence either gives up or
// emits `replacement` and skips `skipOnError(...)` input bytes.
std::optional<std::string> run(iconv_t cd, std::string_view text, Failure onFailure,
                               std::string_view replacement, bool utf8Input) {
  std::string out;
  out.reserve(text.size() * 3 / 2 + 8);
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char buffer[4096];
  for (;;) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd, inLeft > 0 ? &in : nullptr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) {
        // Flush any shift state.
        outPtr = buffer;
        outLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return out;
      }
      continue;
    }
    if (errno == E2BIG) continue;
    if (onFailure == Failure::kStop) return std::nullopt;
    // EILSEQ or EINVAL (truncated sequence): replace one character's worth.
    out.append(replacement);
    std::size_t skip = 1;
    if (utf8Input) {
      unsigned char lead = static_cast<unsigned char>(*in);
      skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    } else {
      skip = text::cp936::characterLength(std::string_view(in, inLeft), 0);
    }
    if (skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
}

std::optional<std::string> convert(std::string_view text, const char* from, const char* to,
                                   Failure onFailure, std::string_view replacement,
                                   bool utf8Input) {
  if (text.empty()) return std::string();
  Converter cd = openConverter(from, to);
  if (!cd) return std::nullopt;
  return run(*cd, text, onFailure, replacement, utf8Input);
}

}  // namespace

std::optional<std::string> cp936ToUtf8(std::string_view text) {
  return convert(text, "CP936", "UTF-8", Failure::kStop, {}, false);
}

std::optional<std::string> utf8ToCp936(std::string_view text) {
  return convert(text, "UTF-8", "CP936", Failure::kStop, {}, true);
}

std::string cp936ToUtf8Lossy(std::string_view text) {
  return convert(text, "CP936", "UTF-8", Failure::kReplace, "\xEF\xBF\xBD", false)
      .value_or(std::string());
}

std::string utf8ToCp936Lossy(std::string_view text) {
  return convert(text, "UTF-8", "CP936", Failure::kReplace, "?", true).value_or(std::string());
}

}  // namespace cad
