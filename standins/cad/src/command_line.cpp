#include "cad/command_line.h"

#include <algorithm>
#include <ostream>

#include "host.h"
#include "line_folder.h"
#include "text/code_page.h"

namespace cad {

void CommandLine::print(std::string_view cp936) {
  printUtf8(text::cp936ToUtf8Lossy(cp936));
}

CommandLine::CommandLine() = default;
CommandLine::~CommandLine() = default;
CommandLine::CommandLine(CommandLine&&) noexcept = default;
CommandLine& CommandLine::operator=(CommandLine&&) noexcept = default;

void CommandLine::setFolding(bool on) {
  if (folder_ && terminal_ != nullptr) write(folder_->flush());
  folder_ = on ? std::make_unique<detail::LineFolder>() : nullptr;
}

void CommandLine::printUtf8(std::string_view utf8) {
  transcript_.append(utf8);
  if (terminal_ == nullptr) return;
  write(folder_ ? folder_->feed(utf8) : std::string(utf8));
}

void CommandLine::echo(std::string_view utf8) {
  if (terminal_ == nullptr) return;
  if (folder_) write(folder_->flush());
  write(utf8);
}

void CommandLine::write(std::string_view bytes) {
  if (bytes.empty()) return;
  terminal_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  terminal_->flush();
  terminalLines_ += std::count(bytes.begin(), bytes.end(), '\n');
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
