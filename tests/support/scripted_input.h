#pragma once

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cad/input_source.h"

namespace testing_support {

// An input source that answers from a list of lines, as a script would:
// "*cancel*" cancels, the end of the list ends. Records rejections.
class ScriptedInput final : public cad::InputSource {
 public:
  explicit ScriptedInput(std::vector<std::string> lines) {
    int n = 0;
    for (auto& line : lines) lines_.push_back({std::move(line), ++n});
  }

  cad::Answer next() override {
    cad::Answer answer;
    if (ended_ || lines_.empty()) return answer;
    auto [text, number] = std::move(lines_.front());
    lines_.pop_front();
    answer.location = "test:" + std::to_string(number);
    if (text == "*cancel*") {
      answer.kind = cad::Answer::Kind::kCancel;
    } else {
      answer.kind = cad::Answer::Kind::kLine;
      answer.text = std::move(text);
    }
    return answer;
  }
  void reject(const cad::Answer& answer, std::string_view reason) override {
    rejections.push_back(answer.location + ": " + std::string(reason));
    ended_ = true;
  }
  bool interactive() const override { return false; }
  bool failed() const override { return !rejections.empty(); }

  std::size_t remaining() const { return lines_.size(); }
  std::vector<std::string> rejections;

 private:
  struct Line {
    std::string text;
    int number;
  };
  std::deque<Line> lines_;
  bool ended_ = false;
};

// Installs a ScriptedInput for the life of the guard and restores the
// previous source after.
class ScopedInput {
 public:
  explicit ScopedInput(std::vector<std::string> lines) {
    auto source = std::make_unique<ScriptedInput>(std::move(lines));
    source_ = source.get();
    previous_ = cad::setInput(std::move(source));
  }
  ~ScopedInput() { cad::setInput(std::move(previous_)); }
  ScopedInput(const ScopedInput&) = delete;
  ScopedInput& operator=(const ScopedInput&) = delete;

  ScriptedInput& source() { return *source_; }

 private:
  ScriptedInput* source_;
  std::unique_ptr<cad::InputSource> previous_;
};

}  // namespace testing_support
