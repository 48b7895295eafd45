#include "cad/terminal_input.h"

#include <iostream>
#include <string>

#include "answer_text.h"
#include "cad/command_line.h"

namespace cad {
namespace {

// The terminal shows what the user typed already; the transcript gets it too,
// so that it reads like the session and the next prompt starts a new line.
void recordInTranscript(const std::string& line) {
  CommandLine& commandLine = cad::commandLine();
  std::ostream* terminal = commandLine.terminal();
  commandLine.setTerminal(nullptr);
  commandLine.printUtf8(line + "\n");
  commandLine.setTerminal(terminal);
}

}  // namespace

TerminalInput::TerminalInput(std::istream& in) : in_(in) {}

TerminalInput::TerminalInput() : TerminalInput(std::cin) {}

Answer TerminalInput::next() {
  std::string line;
  while (!ended_ && std::getline(in_, line)) {
    ++lineNumber_;
    if (line.ends_with('\r')) line.pop_back();
    const std::string location = "terminal:" + std::to_string(lineNumber_);
    if (!detail::isValidUtf8(line)) {
      commandLine().printUtf8("That is not valid UTF-8 text; please type it again.\n");
      continue;
    }
    recordInTranscript(line);
    if (detail::isCancelAnswer(line)) return Answer{Answer::Kind::kCancel, {}, location};
    return Answer{Answer::Kind::kLine, std::move(line), location};
  }
  if (!ended_) commandLine().printUtf8("\n");
  ended_ = true;
  return Answer{Answer::Kind::kEnd, {}, "terminal: end of input"};
}

void TerminalInput::reject(const Answer&, std::string_view reason) {
  commandLine().printUtf8(std::string(reason) + "\n");
}

}  // namespace cad
