#pragma once

#include <string>
#include <string_view>

#include "dxf/text_decoder.h"

// Small text helpers shared by the input sources and the askers (internal to
// the host library).
namespace cad::detail {

// True when `line` is the cancel answer "*cancel*" in any case, blanks around
// allowed.
bool isCancelAnswer(std::string_view line);

// `text` with every full-width comma (U+FF0C, as a Chinese input method
// types it) made an ASCII comma.
std::string withAsciiCommas(std::string_view text);

// True when `text` is well-formed UTF-8; the drawing reader's rule.
using dxf::isValidUtf8;

}  // namespace cad::detail
