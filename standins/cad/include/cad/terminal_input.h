#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "cad/input_source.h"

namespace cad {

// Answers typed by a person, one line at a time (UTF-8), read key by key with
// a small line editor:
//   Enter        gives the line (a CR LF pair is one Enter)
//   Backspace    erases the last character
//   Esc          cancels the prompt (kCancel), as does the line "*cancel*"
//   Ctrl-C       interrupts the command (kInterrupt, then again to every
//                asker until the command prompt asks)
//   Ctrl-D       on an empty line ends the input: kEnd from then on
// With key events on, Up, Down, Tab, Shift+Tab, Enter and Backspace pressed
// on an empty line answer "key UP" and so on; Up, Down, Tab and Shift+Tab
// pressed after some text answer the text, and the key next. Other control
// keys are ignored.
// Where the asker says so (setSpaceEndsAnswer), Space outside double quotes
// ends the line as Enter does. "quit" or "exit" typed while a command runs
// asks whether to end the session; yes interrupts the command and ends the
// input at the command prompt (at the command prompt itself the host's quit
// command ends it).
// A rejected answer only prints the reason: the asker asks again. A line that
// is not valid UTF-8 is refused on the spot and the next line read instead.
// The typed line goes to the transcript; on a real terminal it is echoed as
// typed (only to the screen).
class TerminalInput final : public InputSource {
 public:
  // Reads the keys from `in` (not owned; must outlive this source), echoing
  // nothing: the bytes as a terminal in raw mode would send them.
  explicit TerminalInput(std::istream& in);
  // Reads standard input. When it is a terminal, switches it to raw mode
  // (no echo, no line buffering, no signals from Ctrl-C) until this source
  // is destroyed or the program exits, and echoes what is typed.
  TerminalInput();
  ~TerminalInput() override;
  TerminalInput(const TerminalInput&) = delete;
  TerminalInput& operator=(const TerminalInput&) = delete;

  Answer next() override;
  void reject(const Answer& answer, std::string_view reason) override;
  bool interactive() const override { return true; }
  bool failed() const override { return false; }
  void atCommandPrompt() override;
  bool userBreak() override;
  void setKeyEvents(bool on) override { keyEvents_ = on; }
  void setSpaceEndsAnswer(bool on) override { spaceEnds_ = on; }

 private:
  static constexpr int kNoByte = -1;    // end of input
  static constexpr int kTimedOut = -2;  // nothing within the brief wait
  // The next byte; with `brief`, waits only a moment (the rest of an escape
  // sequence) and answers kTimedOut when nothing comes.
  int readByte(bool brief);
  // After Esc: the name of the key an escape sequence stands for ("UP",
  // "DOWN", "SHIFT+TAB", or "" for others), or null for Esc itself.
  const char* readEscapeSequence(bool* isEscape);
  Answer line(std::string text);
  Answer keyEvent(const std::string& name);
  // What the byte `c` typed after `text` (the line so far, which it may
  // change) does: an answer, or nothing yet. Line ends, Ctrl-C, Esc and the
  // keys a dialog moves with may answer; other control bytes are ignored.
  std::optional<Answer> typed(int c, std::string& text);
  std::optional<Answer> lineEnd(int c, std::string& text);
  std::optional<Answer> escape(std::string& text);
  std::optional<Answer> backspace(std::string& text);
  std::string location() const;
  // "quit" typed while a command runs: asks, and answers what the asker gets.
  Answer confirmQuit();

  std::istream* in_ = nullptr;
  int fd_ = -1;  // standard input when read directly
  bool raw_ = false;
  std::string typedAhead_;  // keys read but not yet used, oldest first
  bool afterCr_ = false;
  bool keyEvents_ = false;
  std::string pendingKey_;  // a key pressed after text: answered next
  bool interrupted_ = false;
  bool ended_ = false;
  bool spaceEnds_ = false;
  bool atCommandPrompt_ = false;
  bool confirming_ = false;
  bool quitting_ = false;  // ends the input at the next command prompt
  long lineNumber_ = 0;
};

// Puts a terminal that a TerminalInput switched to raw mode back as it was;
// for ways out of the program that skip exit handlers. Safe to call always.
void restoreTerminalModes();

}  // namespace cad
