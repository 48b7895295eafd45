#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

// The one loop that drives glibc's iconv for the host's code page
// conversions and the DXF reader's text decoding.
namespace text {

// What stands for a sequence iconv cannot convert (not valid in the source
// encoding, not representable in the target, or cut off at the end).
struct Substitution {
  // Appended to the output in the sequence's place.
  std::string_view replacement;
  // How many bytes the sequence at the start of `rest` takes up; at least one
  // is skipped whatever it answers.
  std::size_t (*length)(std::string_view rest);
};

// Converts all of `input` with the open descriptor `cd` (reset first; any
// shift state is flushed at the end), appending the output to `out`. Without
// a `substitution` the conversion stops at the first sequence it cannot
// convert and answers false (`out` then holds what came before it). With one,
// each such sequence is replaced, and `*substituted` (when given) counts them.
bool appendConverted(iconv_t cd, std::string_view input, std::string& out,
                     const Substitution* substitution = nullptr,
                     std::size_t* substituted = nullptr);

}  // namespace text
