#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/project_parameters.h"
#include "formats/text_file.h"
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

// Checks the whole text of a parameter file against what the export writes,
// for a tool that reports on a project (the export's own reading above stays
// tolerant): one line without a line end, six values each followed by a
// comma and nothing after; origin X and Y, reference X and Y and the scale
// as decimals with six decimals ("-2500.000000"), the unit index one of 0
// (metre) to 3 (millimetre), the scale above 0. Nothing when the text is as
// the export writes it; otherwise the first difference, naming the value,
// what it holds and why ("value 5 (unit index) \"99\" is not a unit the
// export writes: 0 metre, 1 decimetre, 2 centimetre, 3 millimetre").
std::optional<std::string> parameterFileFault(std::string_view text);

// Writes the parameter line to `fileName` (code page 936) through
// writeTextFile(); on failure the earlier file stays unchanged. A value that
// is not finite is refused (kTooLarge) and nothing is written.
WriteResult writeParameterFile(const std::string& fileName, const ProjectParameters& parameters,
                               FileSystem& files);
// The same, as one file of `group`, put in place with the others.
WriteResult addParameterFile(FileGroup& group, const std::string& fileName,
                             const ProjectParameters& parameters);

// Reads the first line of the existing file `fileName` (only reading: a
// write-protected file reads) and parses it. An empty file reads as all 0.
// Fails when the file cannot be read or a value is not finite (one beyond the
// range of a double, as "1e400"); `parameters` is then left unchanged.
FileStatus readParameterFile(const std::string& fileName, FileSystem& files,
                             ProjectParameters* parameters);

}  // namespace tavrin
