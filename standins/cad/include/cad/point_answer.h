#pragma once

#include <string_view>

#include "base/result.h"
#include "host/ac_ge_point.h"

namespace cad {

// Reads a point typed at a point prompt: "x,y" or "x,y,z" (z = 0 when
// omitted), finite decimal numbers, blanks allowed around each; a full-width
// comma (，) separates as the ASCII one does. Returns the
// point, or fails with a message (UTF-8) that says what is wrong with `text`.
base::Result<AcGePoint3d> parsePointAnswer(std::string_view text);

}  // namespace cad
