#include "cad/terminal_input.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "answer_text.h"
#include "cad/command_line.h"
#include "cad/typed_forms.h"
#include "text/trim.h"

namespace cad {
namespace {

constexpr int kCtrlC = 0x03;
constexpr int kCtrlD = 0x04;
constexpr int kBackspace = 0x08;
constexpr int kTab = 0x09;
constexpr int kEscape = 0x1B;
constexpr int kDelete = 0x7F;
// How long the rest of an escape sequence may take to arrive.
constexpr int kEscapeWaitMs = 40;

// The terminal's settings before raw mode, restored at exit and on the
// signals that end the program.
struct termios savedSettings;
bool settingsSaved = false;

void restoreTerminal() {
  if (settingsSaved) tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
}

}  // namespace

void restoreTerminalModes() {
  restoreTerminal();
}

namespace {

void restoreAndDie(int signal) {
  restoreTerminal();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

bool enterRawMode(int fd) {
  struct termios settings;
  if (tcgetattr(fd, &settings) != 0) return false;
  if (!settingsSaved) {
    savedSettings = settings;
    settingsSaved = true;
    std::atexit(restoreTerminal);
    for (int signal : {SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE})
      std::signal(signal, restoreAndDie);
  }
  settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

// The typed line goes to the transcript only: the terminal shows it already.
void recordInTranscript(const std::string& text) {
  CommandLine& commandLine = cad::commandLine();
  std::ostream* terminal = commandLine.terminal();
  commandLine.setTerminal(nullptr);
  commandLine.printUtf8(text + "\n");
  commandLine.setTerminal(terminal);
}

// Columns the last character of `text` (UTF-8) takes; removes it.
int popCharacter(std::string& text) {
  std::size_t start = text.size();
  while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
  if (start > 0) --start;
  const auto lead = static_cast<unsigned char>(text[start]);
  const int length = static_cast<int>(text.size() - start);
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t k = start + 1; k < text.size(); ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
  text.erase(start);
  return terminalColumns(code);
}

}  // namespace

TerminalInput::TerminalInput(std::istream& in) : in_(&in) {}

TerminalInput::TerminalInput() {
  if (isatty(STDIN_FILENO)) {
    fd_ = STDIN_FILENO;
    raw_ = enterRawMode(fd_);
    if (!raw_) fd_ = -1;
  }
  if (fd_ < 0) in_ = &std::cin;
}

TerminalInput::~TerminalInput() {
  if (raw_) restoreTerminal();
}

int TerminalInput::readByte(bool brief) {
  if (!typedAhead_.empty()) {
    const auto c = static_cast<unsigned char>(typedAhead_.front());
    typedAhead_.erase(0, 1);
    return c;
  }
  if (in_ != nullptr) {
    if (brief && in_->rdbuf()->in_avail() <= 0) return kTimedOut;
    const int c = in_->get();
    return c == std::char_traits<char>::eof() ? kNoByte : c;
  }
  if (brief) {
    struct pollfd waiting = {fd_, POLLIN, 0};
    if (poll(&waiting, 1, kEscapeWaitMs) <= 0) return kTimedOut;
  }
  unsigned char c = 0;
  return read(fd_, &c, 1) == 1 ? c : kNoByte;
}

const char* TerminalInput::readEscapeSequence(bool* isEscape) {
  const int introducer = readByte(true);
  if (introducer != '[' && introducer != 'O') {
    if (introducer >= 0) typedAhead_.insert(0, 1, static_cast<char>(introducer));
    *isEscape = true;
    return nullptr;
  }
  *isEscape = false;
  // Parameters up to the final byte (0x40 to 0x7E).
  int final = readByte(true);
  while (final >= 0x20 && final < 0x40) final = readByte(true);
  switch (final) {
    case 'A':
      return "UP";
    case 'B':
      return "DOWN";
    case 'Z':
      return "SHIFT+TAB";
    default:
      return "";
  }
}

std::string TerminalInput::location() const {
  return "terminal:" + std::to_string(lineNumber_);
}

Answer TerminalInput::keyEvent(const std::string& name) {
  return line("key " + name);
}

Answer TerminalInput::line(std::string text) {
  ++lineNumber_;
  if (raw_) commandLine().echo("\n");
  recordInTranscript(text);
  spaceEnds_ = false;
  const bool atCommandPrompt = std::exchange(atCommandPrompt_, false);
  if (detail::isCancelAnswer(text)) return Answer{Answer::Kind::kCancel, {}, location()};
  if (!atCommandPrompt && !confirming_ && isQuitAnswer(text)) return confirmQuit();
  return Answer{Answer::Kind::kLine, std::move(text), location()};
}

Answer TerminalInput::confirmQuit() {
  commandLine().printUtf8("A command is running: cancel it and end the session? (y/n) ");
  confirming_ = true;
  const Answer reply = next();
  confirming_ = false;
  if (!reply.isLine()) return reply;
  const std::string yes = withAsciiForms(text::trimBlanks(reply.text));
  if (yes == "y" || yes == "Y" || yes == "yes" || yes == "是") {
    quitting_ = true;
    interrupted_ = true;
    return Answer{Answer::Kind::kInterrupt, {}, location()};
  }
  commandLine().printUtf8("The command goes on; answer its prompt.\n");
  return next();
}

void TerminalInput::atCommandPrompt() {
  interrupted_ = false;
  atCommandPrompt_ = true;
  if (quitting_) ended_ = true;
}

Answer TerminalInput::next() {
  if (interrupted_) return Answer{Answer::Kind::kInterrupt, {}, location()};
  if (!pendingKey_.empty()) return keyEvent(std::exchange(pendingKey_, {}));
  std::string text;
  while (!ended_) {
    const int c = readByte(false);
    if (c != '\n') afterCr_ = false;
    if (c == kNoByte) {
      ended_ = true;
      if (!text.empty()) return line(std::move(text));
      break;
    }
    if (c == kCtrlD) {
      if (text.empty()) break;
      continue;
    }
    if (std::optional<Answer> answer = typed(c, text)) return std::move(*answer);
  }
  if (!ended_) commandLine().printUtf8("\n");
  ended_ = true;
  return Answer{Answer::Kind::kEnd, {}, "terminal: end of input"};
}

std::optional<Answer> TerminalInput::typed(int c, std::string& text) {
  if (c == '\r' || c == '\n') return lineEnd(c, text);
  if (c == kCtrlC) {
    interrupted_ = true;
    commandLine().printUtf8("^C\n");
    return Answer{Answer::Kind::kInterrupt, {}, location()};
  }
  if (c == kEscape) return escape(text);
  if (c == kBackspace || c == kDelete) return backspace(text);
  if (c == kTab) {
    if (!keyEvents_) return std::nullopt;
    if (text.empty()) return keyEvent("TAB");
    pendingKey_ = "TAB";
    return line(std::move(text));
  }
  if (c < 0x20) return std::nullopt;
  if (c == ' ' && spaceEnds_ && std::count(text.begin(), text.end(), '"') % 2 == 0)
    return line(std::move(text));
  const auto byte = static_cast<unsigned char>(c);
  text += static_cast<char>(byte);
  if (raw_) commandLine().echo(std::string(1, static_cast<char>(byte)));
  return std::nullopt;
}

std::optional<Answer> TerminalInput::lineEnd(int c, std::string& text) {
  if (c == '\n' && afterCr_) {
    afterCr_ = false;
    return std::nullopt;
  }
  afterCr_ = c == '\r';
  if (text.empty() && keyEvents_) return keyEvent("ENTER");
  if (!detail::isValidUtf8(text)) {
    ++lineNumber_;
    if (raw_) commandLine().echo("\n");
    commandLine().printUtf8("That is not valid UTF-8 text; please type it again.\n");
    text.clear();
    return std::nullopt;
  }
  return line(std::move(text));
}

std::optional<Answer> TerminalInput::escape(std::string& text) {
  bool isEscape = false;
  const char* key = readEscapeSequence(&isEscape);
  if (isEscape) {
    commandLine().printUtf8("\n");
    return Answer{Answer::Kind::kCancel, {}, location()};
  }
  if (!keyEvents_ || *key == '\0') return std::nullopt;
  if (text.empty()) return keyEvent(key);
  // The line typed so far first, then the key.
  pendingKey_ = key;
  return line(std::move(text));
}

std::optional<Answer> TerminalInput::backspace(std::string& text) {
  if (text.empty()) {
    if (keyEvents_) return keyEvent("BACKSPACE");
    return std::nullopt;
  }
  const int columns = popCharacter(text);
  const std::string back(static_cast<std::size_t>(columns), '\b');
  commandLine().echo(back + std::string(static_cast<std::size_t>(columns), ' ') + back);
  return std::nullopt;
}

bool TerminalInput::userBreak() {
  if (interrupted_) return true;
  for (;;) {
    int c = kTimedOut;
    if (in_ != nullptr) {
      if (in_->rdbuf()->in_avail() <= 0) return false;
      c = in_->get();
    } else {
      struct pollfd waiting = {fd_, POLLIN, 0};
      unsigned char byte = 0;
      if (poll(&waiting, 1, 0) <= 0 || read(fd_, &byte, 1) != 1) return false;
      c = byte;
    }
    if (c == kCtrlC) interrupted_ = true;
    if (c == kCtrlC || c == kEscape) {
      typedAhead_.clear();
      return true;
    }
    // Anything else typed during the computation answers what comes next.
    typedAhead_ += static_cast<char>(c);
  }
}

void TerminalInput::reject(const Answer&, std::string_view reason) {
  commandLine().printUtf8(std::string(reason) + "\n");
}

}  // namespace cad
