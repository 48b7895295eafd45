#include "cad/command_line.h"

#include <algorithm>
#include <ostream>

#include "cad/code_page.h"

namespace cad {

void CommandLine::print(std::string_view cp936) {
  printUtf8(cp936ToUtf8Lossy(cp936));
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

CommandLine& commandLine() {
  static CommandLine instance;
  return instance;
}

}  // namespace cad
