#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/axis_file_segment.h"
#include "host/file_status.h"
#include "host/file_system.h"

namespace tavrin {

// Reads an axis file back exactly as writeAxisFile() writes it, and nothing
// looser: "0", "Graph Link", the number of records N, then N records of two
// lines each, "9,0" and " X2,Y2,X1,Y1,0,0" for a straight segment, "14,0" and
// " CX,CY,R,A1,A2,0,0" for an arc. Lines end with CR LF (LF alone is taken
// too); the last line has its line end. Numbers are decimals with an
// optional '-' and no exponent; a radius is not negative.

// Where and why a text is not an axis file.
struct AxisFileError {
  int line = 0;  // 1-based; the line after the last one when the text ends early
  std::string reason;
};

// Parses `text`. On success fills `segments` (in file order) and returns
// true; otherwise fills `error` with the first fault and leaves `segments`
// empty.
bool parseAxisFile(std::string_view text, std::vector<AxisFileSegment>* segments,
                   AxisFileError* error);

// Files above this size are refused rather than read.
inline constexpr std::size_t kAxisFileLimit = std::size_t{256} << 20;

// Reads and parses the axis file `path` (code page 936). On failure the
// message names the file, and for a malformed file the line and the reason
// ("plan.N2 line 7: ..."); `segments` is then left empty.
FileStatus readAxisFile(const std::string& path, FileSystem& files,
                        std::vector<AxisFileSegment>* segments);

}  // namespace tavrin
