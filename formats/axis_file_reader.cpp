#include "formats/axis_file_reader.h"

#include <charconv>
#include <memory>
#include <optional>
#include <utility>

#include "formats/axis_file_records.h"
#include "printable_text.h"

namespace tavrin {

namespace {

constexpr std::string_view kGraphLink = "Graph Link";

std::string quote(std::string_view text) {
  return "\"" + printableText(text, 60) + "\"";
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

// The number of records: up to nine digits, no sign.
std::optional<std::size_t> parseCount(std::string_view line) {
  if (line.empty() || line.size() > 9) return std::nullopt;
  std::size_t value = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(c - '0');
  }
  return value;
}

// The value names of a straight and an arc record, in file order.
constexpr const char* kStraightNames[] = {"X2", "Y2", "X1", "Y1"};
constexpr const char* kArcNames[] = {"CX", "CY", "R", "A1", "A2"};

}  // namespace

AxisFileParser::AxisFileParser(AxisFileSegmentSink sink, AxisFileCountSink countSink)
    : sink_(std::move(sink)), countSink_(std::move(countSink)) {}

bool AxisFileParser::add(std::string_view piece) {
  if (failed_) return false;
  total_ += piece.size();
  while (!piece.empty()) {
    const std::size_t end = piece.find('\n');
    const std::size_t length = end == std::string_view::npos ? piece.size() : end;
    if (pending_.size() + length > kLongestAxisFileLine)
      return fail(lineNumber_ + 1, "the line is longer than " +
                                       std::to_string(kLongestAxisFileLine) +
                                       " bytes, longer than any the export writes");
    if (end == std::string_view::npos) {
      pending_.append(piece);
      return true;
    }
    bool ok = false;
    if (pending_.empty()) {
      ok = line(piece.substr(0, end));
    } else {
      pending_.append(piece.substr(0, end));
      ok = line(pending_);
      pending_.clear();
    }
    if (!ok) return false;
    piece.remove_prefix(end + 1);
  }
  return true;
}

bool AxisFileParser::finish() {
  if (failed_) return false;
  if (total_ == 0) return fail(1, "the file is empty");
  if (!pending_.empty()) {
    if (expect_ == Expect::kDone)
      return fail(lineNumber_ + 1, "more text after the " + std::to_string(count_) +
                                       " segments that line 3 announces");
    return fail(lineNumber_ + 1, "the line has no line end: the file was cut short");
  }
  switch (expect_) {
    case Expect::kZero:
    case Expect::kGraphLink:
    case Expect::kCount:
      return fail(lineNumber_ + 1, "the file ends here");
    case Expect::kKind:
      return fail(lineNumber_ + 1, "the file ends after " + std::to_string(done_) + " of " +
                                       std::to_string(count_) + " segments");
    case Expect::kValues:
      return fail(lineNumber_ + 1, "the file ends inside segment " + std::to_string(done_ + 1));
    case Expect::kDone:
      break;
  }
  return true;
}

bool AxisFileParser::line(std::string_view text) {
  ++lineNumber_;
  if (expect_ == Expect::kDone)
    return fail(lineNumber_, "more text after the " + std::to_string(count_) +
                                 " segments that line 3 announces");
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F)
      return fail(lineNumber_, "a byte that is not printable ASCII in " + quote(text));
  }
  switch (expect_) {
    case Expect::kZero:
      if (text != "0") return fail(lineNumber_, "expected \"0\", found " + quote(text));
      expect_ = Expect::kGraphLink;
      return true;
    case Expect::kGraphLink:
      if (text != kGraphLink)
        return fail(lineNumber_, "expected \"Graph Link\", found " + quote(text));
      expect_ = Expect::kCount;
      return true;
    case Expect::kCount: {
      const std::optional<std::size_t> count = parseCount(text);
      if (!count) return fail(lineNumber_, "expected the number of segments, found " + quote(text));
      count_ = *count;
      expect_ = count_ == 0 ? Expect::kDone : Expect::kKind;
      if (countSink_) countSink_(count_);
      return true;
    }
    case Expect::kKind:
      if (text == "9,0") {
        kind_ = AxisFileSegment::Kind::kStraight;
      } else if (text == "14,0") {
        kind_ = AxisFileSegment::Kind::kArc;
      } else {
        return fail(lineNumber_,
                    "expected a record kind \"9,0\" or \"14,0\", found " + quote(text));
      }
      expect_ = Expect::kValues;
      return true;
    case Expect::kValues:
      return record(text);
    case Expect::kDone:
      break;
  }
  return true;
}

bool AxisFileParser::record(std::string_view text) {
  AxisFileSegment segment;
  segment.kind = kind_;
  double numbers[5] = {};
  if (kind_ == AxisFileSegment::Kind::kStraight) {
    if (!values(text, 4, numbers)) return false;
    segment.x2 = numbers[0];
    segment.y2 = numbers[1];
    segment.x1 = numbers[2];
    segment.y1 = numbers[3];
  } else {
    if (!values(text, 5, numbers)) return false;
    segment.centreX = numbers[0];
    segment.centreY = numbers[1];
    segment.radius = numbers[2];
    segment.startDegrees = numbers[3];
    segment.endDegrees = numbers[4];
  }
  sink_(segment);
  expect_ = ++done_ == count_ ? Expect::kDone : Expect::kKind;
  return true;
}

// " v1,v2,...,0,0": `count` decimals within the writer's limits, then the
// two zeros.
bool AxisFileParser::values(std::string_view text, std::size_t count, double* numbers) {
  const bool straight = count == 4;
  const char* layout = straight ? "\" X2,Y2,X1,Y1,0,0\"" : "\" CX,CY,R,A1,A2,0,0\"";
  if (text.empty() || text[0] != ' ')
    return fail(lineNumber_,
                std::string("expected a space and then ") + layout + ", found " + quote(text));
  std::string_view rest = text.substr(1);
  std::string_view fields[8];
  std::size_t found = 0;
  for (;;) {
    const std::size_t comma = rest.find(',');
    if (found < std::size(fields)) fields[found] = rest.substr(0, comma);
    ++found;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (found != count + 2)
    return fail(lineNumber_, "expected " + std::to_string(count + 2) + " values " + layout +
                                 ", found " + std::to_string(found));
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<double> value = parseDecimal(fields[i]);
    const std::string named = "value " + std::to_string(i + 1) + " (" +
                              (straight ? kStraightNames[i] : kArcNames[i]) + ") ";
    if (!value) return fail(lineNumber_, named + "is not a number: " + quote(fields[i]));
    const bool angle = !straight && i >= 3;
    if (!angle && *value > kCoordinateLimit)
      return fail(lineNumber_, named + quote(fields[i]) + " is above " +
                                   std::to_string(static_cast<int>(kCoordinateLimit)) +
                                   ": the export writes no coordinate or radius above " +
                                   std::to_string(static_cast<int>(kCoordinateLimit)) + " m");
    if (!straight && i == 2 && *value < 0)
      return fail(lineNumber_, named + quote(fields[i]) + ": the arc's radius is negative");
    if (angle && !(*value >= 0 && *value <= kLargestDegrees))
      return fail(lineNumber_, named + quote(fields[i]) +
                                   " is not an angle the export writes (0 to 360.000006 degrees)");
    numbers[i] = *value;
  }
  if (fields[count] != "0" || fields[count + 1] != "0")
    return fail(lineNumber_, "the last two values must be 0,0");
  return true;
}

bool AxisFileParser::fail(int line, std::string reason) {
  failed_ = true;
  error_ = AxisFileError{line, std::move(reason)};
  return false;
}

bool parseAxisFile(std::string_view text, std::vector<AxisFileSegment>* segments,
                   AxisFileError* error) {
  segments->clear();
  AxisFileParser parser([segments](const AxisFileSegment& s) { segments->push_back(s); });
  if (parser.add(text) && parser.finish()) return true;
  segments->clear();
  *error = parser.error();
  return false;
}

FileStatus readAxisFile(const std::string& path, FileSystem& files, const AxisFileSegmentSink& sink,
                        const AxisFileCountSink& countSink) {
  std::unique_ptr<ReadableFile> file;
  if (FileStatus status = files.openReadableFile(path, &file); !status.isOk()) return status;
  AxisFileParser parser(sink, countSink);
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  std::string piece;
  bool ok = true;
  for (;;) {
    if (FileStatus status = file->read(kPiece, &piece); !status.isOk()) return status;
    if (piece.empty()) break;
    if (!(ok = parser.add(piece))) break;
  }
  if (ok) ok = parser.finish();
  if (ok) return FileStatus::ok();
  return FileStatus::error(printableText(path) + " line " + std::to_string(parser.error().line) +
                           ": " + parser.error().reason);
}

FileStatus readAxisFile(const std::string& path, FileSystem& files,
                        std::vector<AxisFileSegment>* segments) {
  segments->clear();
  const FileStatus status =
      readAxisFile(path, files, [segments](const AxisFileSegment& s) { segments->push_back(s); });
  if (!status.isOk()) segments->clear();
  return status;
}

}  // namespace tavrin
