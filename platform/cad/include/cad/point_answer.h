#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "host/ac_ge_point.h"

namespace cad {

// Reads a point typed at a point prompt: "x,y" or "x,y,z" (z = 0 when
// omitted), finite decimal numbers, blanks allowed around each; a full-width
// comma (，) separates as the ASCII one does. Returns the
// point, or a message (UTF-8) that says what is wrong with `text`.
std::variant<AcGePoint3d, std::string> parsePointAnswer(std::string_view text);

}  // namespace cad
