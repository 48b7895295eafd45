#include "formats/parameter_file.h"

#include <cmath>

#include "formats/number_format.h"
#include "formats/number_parse.h"
#include "formats/text_file.h"
#include "printable_text.h"

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

constexpr const char* kFieldNames[kFieldCount] = {"origin X",    "origin Y",   "reference X",
                                                  "reference Y", "unit index", "scale"};

// At most 40 bytes of `text` in double quotes.
std::string shown(std::string_view text) {
  return "\"" + printableText(text, 40) + "\"";
}

// "%f" as the export writes it: an optional '-', digits, '.', six digits.
bool isSixDecimals(std::string_view field) {
  if (!field.empty() && field.front() == '-') field.remove_prefix(1);
  const std::size_t point = field.find('.');
  if (point == 0 || point == std::string_view::npos || field.size() - point != 7) return false;
  for (std::size_t i = 0; i < field.size(); ++i)
    if (i != point && (field[i] < '0' || field[i] > '9')) return false;
  return true;
}

}  // namespace

std::optional<std::string> parameterFileFault(std::string_view text) {
  if (text.empty()) return "the file is empty";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n' || c == '\r')
      return "a line end after " + shown(text.substr(0, i)) +
             ": the export writes one line without a line end";
    if (c < 0x20 || c >= 0x7F)
      return "byte " + std::to_string(i + 1) + " is not printable ASCII in " + shown(text);
  }
  std::string_view rest = text;
  for (int field = 0; field < kFieldCount; ++field) {
    const std::string named =
        "value " + std::to_string(field + 1) + " (" + kFieldNames[field] + ") ";
    const std::size_t comma = rest.find(',');
    if (comma == std::string_view::npos)
      return named + "is missing: the export writes six values, each followed by a comma";
    const std::string_view value = rest.substr(0, comma);
    rest.remove_prefix(comma + 1);
    if (field == kUnitField) {
      if (value != "0" && value != "1" && value != "2" && value != "3")
        return named + shown(value) +
               " is not a unit the export writes: 0 metre, 1 decimetre, 2 centimetre, "
               "3 millimetre";
      continue;
    }
    if (!isSixDecimals(value))
      return named + shown(value) + " is not a number with six decimals as the export writes";
    const double number = parseLeadingReal(value);
    if (!std::isfinite(number)) return named + shown(value) + " is beyond the range of a number";
    if (field == kFieldCount - 1 && !(number > 0))
      return named + shown(value) + " is not above 0: the export writes no such scale";
  }
  if (!rest.empty()) return "more text after the six values: " + shown(rest);
  return std::nullopt;
}

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
