#include "line_folder.h"

#include <algorithm>

namespace cad::detail {
namespace {

// 11450 as "11,450".
std::string withThousands(long value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

// Updating the count line for every repetition would flood the terminal.
bool worthShowing(long count) {
  return count <= 10 || count % 500 == 0;
}

}  // namespace

std::string LineFolder::feed(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      // A partial text: shown at once, never folded.
      out += endRun();
      out += pending_;
      pending_.clear();
      out += text;
      midLine_ = true;
      return out;
    }
    std::string whole = pending_ + std::string(text.substr(0, end));
    pending_.clear();
    text.remove_prefix(end + 1);
    if (midLine_) {
      midLine_ = false;
      out += whole + "\n";
      recent_.clear();
      continue;
    }
    out += line(std::move(whole));
  }
  return out;
}

std::string LineFolder::flush() {
  std::string out = endRun();
  recent_.clear();  // what comes next moves the cursor
  out += pending_;
  if (!pending_.empty()) midLine_ = true;
  pending_.clear();
  return out;
}

std::string LineFolder::line(std::string text) {
  if (!group_.empty()) {
    if (text == group_[matched_]) {
      if (++matched_ < group_.size()) return {};
      matched_ = 0;
      ++count_;
      if (!worthShowing(count_)) return {};
      std::string out;
      // The first repetition: the group's lines give way to the count line.
      if (shownCount_ == 0)
        out = "\x1b[" + std::to_string(group_.size()) + "A\r\x1b[J";
      else
        out = "\x1b[A\r\x1b[K";
      shownCount_ = count_;
      return out + countLine() + "\n";
    }
    std::string out = endRun();
    return out + line(std::move(text));
  }
  // Does this line start a repetition of the last few lines?
  for (std::size_t size = 1; size <= kLongestGroup && size <= recent_.size(); ++size) {
    if (recent_[recent_.size() - size] != text) continue;
    group_.assign(recent_.end() - static_cast<std::ptrdiff_t>(size), recent_.end());
    count_ = 1;
    shownCount_ = 0;
    matched_ = 0;
    return line(std::move(text));
  }
  recent_.push_back(text);
  if (recent_.size() > kLongestGroup) recent_.erase(recent_.begin());
  return text + "\n";
}

std::string LineFolder::endRun() {
  if (group_.empty()) return {};
  std::string out;
  if (shownCount_ != 0 && shownCount_ != count_) out = "\x1b[A\r\x1b[K" + countLine() + "\n";
  // Lines of a repetition begun but not completed were held back.
  std::vector<std::string> held(group_.begin(),
                                group_.begin() + static_cast<std::ptrdiff_t>(matched_));
  group_.clear();
  matched_ = 0;
  recent_.clear();
  for (std::string& text : held) out += line(std::move(text));
  return out;
}

std::string LineFolder::countLine() const {
  std::string joined;
  for (const std::string& text : group_) joined += (joined.empty() ? "" : " / ") + text;
  return joined + " ×" + withThousands(count_);
}

}  // namespace cad::detail
