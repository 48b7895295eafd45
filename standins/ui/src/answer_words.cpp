#include "answer_words.h"

#include <charconv>

namespace ui::words {

std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

std::string_view firstWord(std::string_view line, std::string_view* rest) {
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    *rest = {};
    return {};
  }
  line.remove_prefix(start);
  std::size_t end = line.find_first_of(" \t");
  if (end == std::string_view::npos) {
    *rest = {};
    return line;
  }
  *rest = line.substr(end + 1);
  return line.substr(0, end);
}

std::optional<int> toInt(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace ui::words
