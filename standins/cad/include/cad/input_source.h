#pragma once

#include <memory>
#include <string>
#include <string_view>

// The one place every answer a user gives comes from: prompts, selections,
// the open-file dialog, dialog events and message boxes all read the next
// answer here. A script and the terminal are the two sources.
namespace cad {

struct Answer {
  enum class Kind {
    kLine,       // a line of text (possibly empty: Enter)
    kCancel,     // "*cancel*", as Esc would
    kEnd,        // the input is exhausted; askers treat it as a cancel
    kInterrupt,  // Ctrl-C: cancels the whole command, not only this prompt
  };
  Kind kind = Kind::kEnd;
  std::string text;      // UTF-8, no line end; only for kLine
  std::string location;  // where it came from, e.g. "house.scr:7"; for messages

  bool isLine() const { return kind == Kind::kLine; }
};

class InputSource {
 public:
  virtual ~InputSource() = default;

  // The next answer. A source that is done answers kEnd from then on.
  virtual Answer next() = 0;

  // The asker could not use `answer`; `reason` says why (UTF-8). A script
  // reports "<location>: <reason>" on the command line, counts the error and
  // ends (next() answers kEnd); a terminal prints the reason and goes on, so
  // the asker asks again.
  virtual void reject(const Answer& answer, std::string_view reason) = 0;

  // True when a person answers: askers may show state after each answer.
  virtual bool interactive() const = 0;
  // True when an answer was rejected (a script error).
  virtual bool failed() const = 0;

  // The command prompt is asking: an interrupt of the command that ran is
  // over. A source that answered kInterrupt answers it to every asker until
  // then, so that the whole command ends.
  virtual void atCommandPrompt() {}
  // Polled during long computations: true when the user asked to stop them
  // (Esc or Ctrl-C at a terminal). A script never breaks.
  virtual bool userBreak() { return false; }
  // While on, a terminal answers the keys a dialog moves with, pressed on an
  // empty line, as the lines "key UP", "key DOWN", "key TAB", "key SHIFT+TAB",
  // "key ENTER" and "key BACKSPACE". Scripts ignore it.
  virtual void setKeyEvents(bool /*on*/) {}
  // For the next answer only: a terminal ends it at a Space typed outside
  // double quotes as at Enter, for answers that are no free text (command
  // names, points, selection options). Scripts ignore it.
  virtual void setSpaceEndsAnswer(bool /*on*/) {}
};

// The host's active input source. Until one is installed it is a source that
// answers kEnd to everything.
InputSource& input();
// Installs `source` as the active input source and returns the previous one.
std::unique_ptr<InputSource> setInput(std::unique_ptr<InputSource> source);

}  // namespace cad
