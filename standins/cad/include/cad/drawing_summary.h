#pragma once

#include <string>
#include <string_view>

#include "cad/database.h"

namespace cad {

// A few lines on a drawing for the start of a session (UTF-8, each ending in
// a line feed): its name, where it came from when it was no DXF, its entity
// count, the unit its header declares, the code page it was read in and
// why, its extents, and the layers that hold lines or arcs with their counts. `name`
// is how the drawing is named (e.g. its file name).
std::string drawingSummary(const Database& database, std::string_view name);

// The name of the drawing unit of $INSUNITS code `code`, e.g. "millimetres";
// "unitless" for 0, "code N" for codes without a name here.
std::string insUnitsName(int code);

}  // namespace cad
