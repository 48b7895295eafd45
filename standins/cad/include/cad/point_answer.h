#pragma once

#include <string_view>

#include "base/result.h"
#include "host/ac_ge_point.h"

namespace cad {

// Reads a point typed at a point prompt: "x,y" or "x,y,z" (z = 0 when
// omitted), finite decimal numbers, blanks allowed around each; full-width
// digits, signs, points and commas (as in "－３，１２．５") are taken as ASCII. Returns the
// point, or fails with a message (UTF-8) that says what is wrong with `text`.
base::Result<AcGePoint3d> parsePointAnswer(std::string_view text);

}  // namespace cad
