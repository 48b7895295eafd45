#include "formats/parameter_file.h"

#include <cmath>

#include "formats/number_format.h"
#include "formats/number_parse.h"
#include "formats/text_file.h"

namespace tavrin {

namespace {

constexpr int kFieldCount = 6;
constexpr int kUnitField = 4;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool allFinite(const ProjectParameters& p) {
  for (double value : {p.originX, p.originY, p.referenceX, p.referenceY, p.scale})
    if (!std::isfinite(value)) return false;
  return true;
}

}  // namespace

std::string formatParameterLine(const ProjectParameters& parameters) {
  std::string line;
  for (double value :
       {parameters.originX, parameters.originY, parameters.referenceX, parameters.referenceY}) {
    appendFixed(line, value);
    line += ',';
  }
  appendInteger(line, parameters.unitIndex);
  line += ',';
  appendFixed(line, parameters.scale);
  line += ',';
  return line;
}

ProjectParameters parseParameterLine(std::string_view line) {
  std::string_view rest = trim(line);
  double reals[kFieldCount] = {};
  std::int32_t unitIndex = 0;
  for (int field = 0; field < kFieldCount; ++field) {
    std::string_view text;
    const std::size_t comma = rest.find(',');
    if (comma != std::string_view::npos) {
      text = rest.substr(0, comma);
      rest.remove_prefix(comma + 1);
    }
    if (field == kUnitField)
      unitIndex = parseLeadingInteger(text);
    else
      reals[field] = parseLeadingReal(text);
  }
  ProjectParameters parameters;
  parameters.originX = reals[0];
  parameters.originY = reals[1];
  parameters.referenceX = reals[2];
  parameters.referenceY = reals[3];
  parameters.unitIndex = unitIndex;
  parameters.scale = reals[5];
  return parameters;
}

WriteResult writeParameterFile(const std::string& fileName, const ProjectParameters& parameters,
                               FileSystem& files) {
  if (!allFinite(parameters)) return WriteResult{WriteOutcome::kTooLarge, fileName};
  return writeTextFile(fileName, formatParameterLine(parameters), files);
}

FileStatus readParameterFile(const std::string& fileName, FileSystem& files,
                             ProjectParameters* parameters) {
  std::string line;
  if (FileStatus status = readFirstLine(fileName, files, &line); !status.isOk()) return status;
  const ProjectParameters parsed = parseParameterLine(line);
  if (!allFinite(parsed))
    return FileStatus::error("the parameter file holds a value beyond the range of a number");
  *parameters = parsed;
  return FileStatus::ok();
}

}  // namespace tavrin
