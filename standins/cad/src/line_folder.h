#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cad::detail {

// Folds, for a terminal, a run of identical repeated groups of up to four
// whole lines into one line with a count:
//   "IntrinsicScale:1.000000 / iScale:1.000000 ×11,450"
// The first group is shown as it comes; once it repeats, its lines are
// erased (cursor up) and the count line is shown and updated in place.
// Text that does not end a line (a prompt) passes at once and ends a run.
// UTF-8 in, terminal bytes out; lines are assumed to fit the terminal's
// width.
class LineFolder {
 public:
  // What to write for `text`, which follows what was fed before.
  std::string feed(std::string_view text);
  // Ends a run (and writes lines held back), e.g. before a key's echo.
  std::string flush();

 private:
  std::string line(std::string text);
  std::string endRun();
  std::string countLine() const;

  static constexpr std::size_t kLongestGroup = 4;
  std::string pending_;              // the line being completed
  bool midLine_ = false;             // the screen's line started as a partial text
  std::vector<std::string> recent_;  // the last lines shown, oldest first
  std::vector<std::string> group_;   // the repeating group, when one is seen
  std::size_t matched_ = 0;          // lines of the next repetition seen so far
  long count_ = 0;                   // whole repetitions, the first included
  long shownCount_ = 0;              // the count on screen; 0 for none
};

}  // namespace cad::detail
