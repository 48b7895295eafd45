#pragma once

#include <istream>
#include <string_view>

#include "cad/input_source.h"

namespace cad {

// Answers typed by a person, one line at a time (UTF-8; a trailing CR is
// dropped). The asker has printed its prompt already and the terminal shows
// what was typed, so nothing is echoed. "*cancel*" cancels; end of input
// (Ctrl-D) answers kEnd from then on. A rejected answer only prints the reason:
// the asker asks again. A line that is not valid UTF-8 is refused on the spot
// and the next line read instead.
class TerminalInput final : public InputSource {
 public:
  // Reads from `in` (not owned; must outlive this source), by default std::cin.
  explicit TerminalInput(std::istream& in);
  TerminalInput();

  Answer next() override;
  void reject(const Answer& answer, std::string_view reason) override;
  bool interactive() const override { return true; }
  bool failed() const override { return false; }

 private:
  std::istream& in_;
  long lineNumber_ = 0;
  bool ended_ = false;
};

}  // namespace cad
