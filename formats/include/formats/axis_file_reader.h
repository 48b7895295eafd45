#pragma once

#include <cstddef>
#include <functional>
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
// optional '-' and no exponent, within the writer's own limits: no
// coordinate or radius above kCoordinateLimit, no radius below 0, angles
// from 0 to kLargestDegrees. No line is longer than kLongestAxisFileLine.

// Where and why a text is not an axis file.
struct AxisFileError {
  int line = 0;  // 1-based; the line after the last one when the text ends early
  std::string reason;
};

// Longer lines are refused: the writer's longest, an arc record of five
// values of the largest size a double has in "%f", is about 1,600 bytes.
inline constexpr std::size_t kLongestAxisFileLine = 2048;

// Takes the segments of an axis file as they are read, in file order.
using AxisFileSegmentSink = std::function<void(const AxisFileSegment&)>;
// Takes the number of records line 3 announces, once it is read (a count
// from the file, not yet borne out by it).
using AxisFileCountSink = std::function<void(std::size_t records)>;

// Parses an axis file that arrives in pieces of any size, handing each
// segment to the sink as soon as its lines are complete; it holds no more
// than one line meanwhile. After the first fault every call returns false
// and error() tells the fault.
class AxisFileParser {
 public:
  explicit AxisFileParser(AxisFileSegmentSink sink, AxisFileCountSink countSink = {});

  // The next piece of the text. False once the text is known to be faulty.
  bool add(std::string_view piece);
  // The end of the text. False when the text is faulty or incomplete.
  bool finish();
  const AxisFileError& error() const { return error_; }
  // The number of records line 3 announces; 0 before it is read.
  std::size_t announced() const { return count_; }

 private:
  enum class Expect { kZero, kGraphLink, kCount, kKind, kValues, kDone };

  bool line(std::string_view text);
  bool record(std::string_view text);
  bool values(std::string_view text, std::size_t count, double* numbers);
  bool fail(int line, std::string reason);

  AxisFileSegmentSink sink_;
  AxisFileCountSink countSink_;
  Expect expect_ = Expect::kZero;
  std::string pending_;
  std::size_t total_ = 0;
  int lineNumber_ = 0;
  std::size_t count_ = 0;
  std::size_t done_ = 0;
  AxisFileSegment::Kind kind_ = AxisFileSegment::Kind::kStraight;
  bool failed_ = false;
  AxisFileError error_;
};

// Parses `text`. On success fills `segments` (in file order) and returns
// true; otherwise fills `error` with the first fault and leaves `segments`
// empty.
bool parseAxisFile(std::string_view text, std::vector<AxisFileSegment>* segments,
                   AxisFileError* error);

// Reads and parses the axis file `path` (code page 936) a piece at a time,
// whatever its size, handing each segment to `sink`. On failure the message
// names the file, and for a malformed file the line and the reason
// ("plan.N2 line 7: ..."); the segments handed on before the fault was met
// are then to be dropped.
FileStatus readAxisFile(const std::string& path, FileSystem& files, const AxisFileSegmentSink& sink,
                        const AxisFileCountSink& countSink = {});

// The same into `segments`, which is left empty on failure.
FileStatus readAxisFile(const std::string& path, FileSystem& files,
                        std::vector<AxisFileSegment>* segments);

}  // namespace tavrin
