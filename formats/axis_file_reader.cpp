#include "formats/axis_file_reader.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

namespace tavrin {

namespace {

constexpr std::string_view kGraphLink = "Graph Link";

// At most `limit` bytes of `text`, bytes outside printable ASCII as \xNN, so
// a message stays short and valid UTF-8 whatever the code page.
std::string printable(std::string_view text, std::size_t limit) {
  std::string shown;
  const std::size_t shownLength = text.size() > limit ? limit : text.size();
  for (std::size_t i = 0; i < shownLength; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += static_cast<char>(byte);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  return text.size() > shownLength ? shown + "..." : shown;
}

std::string quote(std::string_view text) {
  return "\"" + printable(text, 60) + "\"";
}

std::string printablePath(const std::string& path) {
  return printable(path, path.size());
}

// A decimal as the writer writes it: optional '-', digits, optionally '.' and
// digits.
std::optional<double> parseDecimal(std::string_view field) {
  std::size_t i = 0;
  if (i < field.size() && field[i] == '-') ++i;
  const std::size_t digitsStart = i;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i;
  if (i == digitsStart) return std::nullopt;
  if (i < field.size() && field[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i;
    if (i == fractionStart) return std::nullopt;
  }
  if (i != field.size()) return std::nullopt;
  double value = 0.0;
  const auto [end, code] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (code != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  bool parse(std::vector<AxisFileSegment>* segments, AxisFileError* error) {
    segments->clear();
    const bool ok = parseAll(segments);
    if (!ok) {
      segments->clear();
      *error = std::move(error_);
    }
    return ok;
  }

 private:
  bool parseAll(std::vector<AxisFileSegment>* segments) {
    if (text_.empty()) return fail(1, "the file is empty");
    std::string_view line;
    if (!nextLine(&line)) return false;
    if (line != "0") return fail(lineNumber_, "expected \"0\", found " + quote(line));
    if (!nextLine(&line)) return false;
    if (line != kGraphLink)
      return fail(lineNumber_, "expected \"Graph Link\", found " + quote(line));
    if (!nextLine(&line)) return false;
    const std::optional<std::size_t> count = parseCount(line);
    if (!count) return fail(lineNumber_, "expected the number of segments, found " + quote(line));

    for (std::size_t k = 0; k < *count; ++k) {
      if (atEnd())
        return fail(lineNumber_ + 1, "the file ends after " + std::to_string(k) + " of " +
                                         std::to_string(*count) + " segments");
      if (!nextLine(&line)) return false;
      AxisFileSegment segment;
      std::size_t values = 0;
      if (line == "9,0") {
        segment.kind = AxisFileSegment::Kind::kStraight;
        values = 4;
      } else if (line == "14,0") {
        segment.kind = AxisFileSegment::Kind::kArc;
        values = 5;
      } else {
        return fail(lineNumber_,
                    "expected a record kind \"9,0\" or \"14,0\", found " + quote(line));
      }
      if (atEnd())
        return fail(lineNumber_ + 1, "the file ends inside segment " + std::to_string(k + 1));
      if (!nextLine(&line)) return false;
      double numbers[5] = {};
      if (!parseValues(line, values, numbers)) return false;
      if (segment.kind == AxisFileSegment::Kind::kStraight) {
        segment.x2 = numbers[0];
        segment.y2 = numbers[1];
        segment.x1 = numbers[2];
        segment.y1 = numbers[3];
      } else {
        segment.centreX = numbers[0];
        segment.centreY = numbers[1];
        segment.radius = numbers[2];
        segment.startDegrees = numbers[3];
        segment.endDegrees = numbers[4];
        if (segment.radius < 0) return fail(lineNumber_, "the arc's radius is negative");
      }
      segments->push_back(segment);
    }
    if (!atEnd())
      return fail(lineNumber_ + 1, "more text after the " + std::to_string(*count) +
                                       " segments that line 3 announces");
    return true;
  }

  // " v1,v2,...,0,0": `count` decimals, then the two zeros.
  bool parseValues(std::string_view line, std::size_t count, double* numbers) {
    const char* layout = count == 4 ? "\" X2,Y2,X1,Y1,0,0\"" : "\" CX,CY,R,A1,A2,0,0\"";
    if (line.empty() || line[0] != ' ')
      return fail(lineNumber_,
                  std::string("expected a space and then ") + layout + ", found " + quote(line));
    std::string_view rest = line.substr(1);
    std::vector<std::string_view> fields;
    for (;;) {
      const std::size_t comma = rest.find(',');
      fields.push_back(rest.substr(0, comma));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    if (fields.size() != count + 2)
      return fail(lineNumber_, "expected " + std::to_string(count + 2) + " values " + layout +
                                   ", found " + std::to_string(fields.size()));
    for (std::size_t i = 0; i < count; ++i) {
      const std::optional<double> value = parseDecimal(fields[i]);
      if (!value)
        return fail(lineNumber_,
                    "value " + std::to_string(i + 1) + " is not a number: " + quote(fields[i]));
      numbers[i] = *value;
    }
    if (fields[count] != "0" || fields[count + 1] != "0")
      return fail(lineNumber_, "the last two values must be 0,0");
    return true;
  }

  static std::optional<std::size_t> parseCount(std::string_view line) {
    if (line.empty() || line.size() > 9) return std::nullopt;
    std::size_t value = 0;
    for (char c : line) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
  }

  bool atEnd() const { return position_ >= text_.size(); }

  // The next line without its line end. Fails for a line that has no line
  // end (the file was cut short) or holds control bytes.
  bool nextLine(std::string_view* line) {
    ++lineNumber_;
    if (atEnd()) return fail(lineNumber_, "the file ends here");
    const std::size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos)
      return fail(lineNumber_, "the line has no line end: the file was cut short");
    std::string_view found = text_.substr(position_, end - position_);
    position_ = end + 1;
    if (!found.empty() && found.back() == '\r') found.remove_suffix(1);
    for (char c : found) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte >= 0x7F)
        return fail(lineNumber_, "a byte that is not printable ASCII in " + quote(found));
    }
    *line = found;
    return true;
  }

  bool fail(int line, std::string reason) {
    error_ = AxisFileError{line, std::move(reason)};
    return false;
  }

  std::string_view text_;
  std::size_t position_ = 0;
  int lineNumber_ = 0;
  AxisFileError error_;
};

}  // namespace

bool parseAxisFile(std::string_view text, std::vector<AxisFileSegment>* segments,
                   AxisFileError* error) {
  return Parser(text).parse(segments, error);
}

FileStatus readAxisFile(const std::string& path, FileSystem& files,
                        std::vector<AxisFileSegment>* segments) {
  segments->clear();
  std::string contents;
  FileStatus status = files.readFile(path, kAxisFileLimit + 1, &contents);
  if (!status.isOk()) return status;
  if (contents.size() > kAxisFileLimit)
    return FileStatus::error(printablePath(path) + ": larger than " +
                             std::to_string(kAxisFileLimit >> 20) + " MB, not read");
  AxisFileError error;
  if (!parseAxisFile(contents, segments, &error))
    return FileStatus::error(printablePath(path) + " line " + std::to_string(error.line) + ": " +
                             error.reason);
  return FileStatus::ok();
}

}  // namespace tavrin
