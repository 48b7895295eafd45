#include "text/iconv_conversion.h"

#include <cerrno>

namespace text {

bool appendConverted(iconv_t cd, std::string_view input, std::string& out,
                     const Substitution* substitution, std::size_t* substituted) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  // iconv's interface takes no const input; it does not write through it.
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  for (;;) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    // With no input left the call flushes the shift state.
    const bool flushing = inLeft == 0;
    const std::size_t rc = iconv(cd, flushing ? nullptr : &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1)) {
      if (flushing) break;
      continue;
    }
    if (errno == E2BIG) continue;
    // EILSEQ, or EINVAL for a sequence cut off at the end.
    if (substitution == nullptr || flushing) return false;
    out.append(substitution->replacement);
    if (substituted != nullptr) ++*substituted;
    std::size_t skip = substitution->length(std::string_view(in, inLeft));
    if (skip == 0) skip = 1;
    if (skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return true;
}

}  // namespace text
