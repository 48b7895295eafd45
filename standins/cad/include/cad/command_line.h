#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

// The host's command line: everything printed for the user, by the module
// (code page 936) and by the host itself (UTF-8). It keeps a UTF-8 transcript
// that tests read and echoes to a terminal stream when one is set.
namespace cad {

namespace detail {
class LineFolder;
}

class CommandLine {
 public:
  CommandLine();
  ~CommandLine();
  CommandLine(CommandLine&&) noexcept;
  CommandLine& operator=(CommandLine&&) noexcept;

  // Text from a module, code page 936; bytes that are not valid 936 show as
  // U+FFFD.
  void print(std::string_view cp936);
  // Text from the host itself, already UTF-8.
  void printUtf8(std::string_view utf8);

  // Everything printed since the last clear, UTF-8.
  const std::string& transcript() const { return transcript_; }
  void clear() { transcript_.clear(); }

  // Where printed text also goes; null for nowhere (the default). Not owned.
  void setTerminal(std::ostream* terminal) { terminal_ = terminal; }
  std::ostream* terminal() const { return terminal_; }
  // With folding on, the terminal shows a run of identical repeated groups of
  // lines (such as a trace printed per axis) as one line with a count; the
  // transcript keeps every line. Off by default.
  void setFolding(bool on);

  // Text for the terminal only (UTF-8): the echo of keys typed, cursor
  // movements. Not part of the transcript; nothing without a terminal.
  void echo(std::string_view utf8);
  // Line feeds written to the terminal so far, by printUtf8() and echo(); a
  // screen that redraws itself in place counts the lines it must go back.
  long terminalLines() const { return terminalLines_; }

 private:
  std::string transcript_;
  void write(std::string_view bytes);

  std::ostream* terminal_ = nullptr;
  long terminalLines_ = 0;
  std::unique_ptr<detail::LineFolder> folder_;  // null: no folding
};

// The host's command line.
CommandLine& commandLine();

// Columns the character `code` takes on a terminal: two for the wide East
// Asian ranges (CJK, Hangul, full-width forms), one for the rest.
int terminalColumns(char32_t code);

}  // namespace cad
