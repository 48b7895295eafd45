#include "cad/script_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "answer_text.h"
#include "cad/command_line.h"
#include "files/read_up_to.h"

namespace cad {

ScriptInput::ScriptInput(std::string name, std::string_view text) : name_(std::move(name)) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

ScriptInput::ScriptInput(std::string name, std::istream& in)
    : name_(std::move(name)), stream_(&in) {}

bool ScriptInput::readLine() {
  std::string line;
  if (stream_ == nullptr || !std::getline(*stream_, line)) return false;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (lines_.empty() && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
  if (line.ends_with('\r')) line.pop_back();
  lines_.push_back(std::move(line));
  return true;
}

base::Result<std::unique_ptr<ScriptInput>> ScriptInput::fromFile(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0)
    return base::Status::error("cannot open script " + path + ": " + std::strerror(errno));
  std::string text;
  const int readError = files::readUpTo(descriptor, text.max_size(), &text);
  ::close(descriptor);
  if (readError != 0) return base::Status::error("cannot read script " + path);
  return std::make_unique<ScriptInput>(path, text);
}

Answer ScriptInput::next() {
  while (!ended_ && (nextLine_ < lines_.size() || readLine())) {
    const std::size_t index = nextLine_++;
    const std::string& line = lines_[index];
    const std::string location = name_ + ":" + std::to_string(index + 1);
    if (line.starts_with(';')) continue;
    if (!detail::isValidUtf8(line)) {
      fail(location, "the line is not valid UTF-8 text");
      break;
    }
    commandLine().printUtf8(line + "\n");
    if (detail::isCancelAnswer(line)) return Answer{Answer::Kind::kCancel, {}, location};
    return Answer{Answer::Kind::kLine, line, location};
  }
  ended_ = true;
  return Answer{Answer::Kind::kEnd, {}, name_ + ": end of script"};
}

void ScriptInput::reject(const Answer& answer, std::string_view reason) {
  fail(answer.location.empty() ? name_ : answer.location, reason);
}

void ScriptInput::fail(const std::string& location, std::string_view reason) {
  commandLine().printUtf8(location + ": " + std::string(reason) + "\n");
  failed_ = true;
  ended_ = true;
}

}  // namespace cad
