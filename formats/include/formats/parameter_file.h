#pragma once

#include <string>
#include <string_view>

#include "formats/project_parameters.h"
#include "formats/write_result.h"
#include "host/file_status.h"
#include "host/file_system.h"

namespace tavrin {

// The parameter file of a project (".inf"): one line, no line end, the six
// values each followed by a comma: "%f,%f,%f,%f,%d,%f," of origin X and Y,
// reference X and Y, unit index and scale.

// The line for `parameters`.
std::string formatParameterLine(const ProjectParameters& parameters);

// Reads a line tolerantly: white space around the line is dropped; each of the
// six fields is the text before the next comma, and a field that no comma
// ends, with every field after it, reads as 0. Reals read as decimal numbers
// (optional sign, point and exponent), the unit index as an integer ("3.9"
// gives 3); text without a number gives 0. Fields after the sixth are
// ignored. Never fails.
ProjectParameters parseParameterLine(std::string_view line);

// Writes the parameter line to `fileName` (code page 936) through
// writeTextFile(); on failure the earlier file stays unchanged. A value that
// is not finite is refused (kTooLarge) and nothing is written.
WriteResult writeParameterFile(const std::string& fileName, const ProjectParameters& parameters,
                               FileSystem& files);

// Reads the first line of the existing file `fileName` (only reading: a
// write-protected file reads) and parses it. An empty file reads as all 0.
// Fails when the file cannot be read or a value is not finite (one beyond the
// range of a double, as "1e400"); `parameters` is then left unchanged.
FileStatus readParameterFile(const std::string& fileName, FileSystem& files,
                             ProjectParameters* parameters);

}  // namespace tavrin
