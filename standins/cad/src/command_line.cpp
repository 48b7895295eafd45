#include "cad/command_line.h"

#include <algorithm>
#include <ostream>

#include "host.h"
#include "text/code_page.h"

namespace cad {

void CommandLine::print(std::string_view cp936) {
  printUtf8(text::cp936ToUtf8Lossy(cp936));
}

void CommandLine::printUtf8(std::string_view utf8) {
  transcript_.append(utf8);
  echo(utf8);
}

void CommandLine::echo(std::string_view utf8) {
  if (terminal_ == nullptr) return;
  terminal_->write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
  terminal_->flush();
  terminalLines_ += std::count(utf8.begin(), utf8.end(), '\n');
}

int terminalColumns(char32_t code) {
  const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                    (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                    (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                    (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
  return wide ? 2 : 1;
}

CommandLine& commandLine() {
  return detail::host().commandLine();
}

}  // namespace cad
