#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cad/command_line.h"
#include "cad/input_source.h"

namespace testing_ui {

// An input source for tests: answers lines in order, and between them runs
// checks, which see the dialog or box that is asking in the middle of its
// modal loop. A rejected answer is recorded and ends the input, as a script
// does; the end answers kEnd.
class ScriptedInput final : public cad::InputSource {
 public:
  struct Step {
    std::string line;
    std::function<void()> check;  // when set, run instead of answering
    bool cancel = false;
  };

  explicit ScriptedInput(bool interactive = false) : interactive_(interactive) {}

  ScriptedInput& line(std::string text) {
    steps_.push_back({std::move(text), nullptr, false});
    return *this;
  }
  ScriptedInput& cancel() {
    steps_.push_back({"", nullptr, true});
    return *this;
  }
  ScriptedInput& check(std::function<void()> check) {
    steps_.push_back({"", std::move(check), false});
    return *this;
  }

  cad::Answer next() override {
    while (!ended_ && position_ < steps_.size()) {
      Step& step = steps_[position_++];
      if (step.check) {
        step.check();
        continue;
      }
      cad::Answer answer;
      answer.location = "test:" + std::to_string(position_);
      if (step.cancel) {
        answer.kind = cad::Answer::Kind::kCancel;
      } else {
        answer.kind = cad::Answer::Kind::kLine;
        answer.text = step.line;
      }
      ++answered_;
      return answer;
    }
    ended_ = true;
    return cad::Answer{};
  }
  void reject(const cad::Answer& answer, std::string_view reason) override {
    rejected_.push_back(answer.location + ": " + std::string(reason));
    if (!interactive_) ended_ = true;
  }
  bool interactive() const override { return interactive_; }
  bool failed() const override { return !rejected_.empty(); }

  const std::vector<std::string>& rejected() const { return rejected_; }
  // Answers handed out so far; checks and the end do not count.
  int answered() const { return answered_; }
  bool exhausted() const { return position_ >= steps_.size(); }

 private:
  bool interactive_;
  std::vector<Step> steps_;
  std::size_t position_ = 0;
  bool ended_ = false;
  int answered_ = 0;
  std::vector<std::string> rejected_;
};

// Installs a ScriptedInput as the host's input for the lifetime of this
// object and gives the previous one back afterwards. Clears the transcript.
class InstalledInput {
 public:
  explicit InstalledInput(bool interactive = false) {
    auto source = std::make_unique<ScriptedInput>(interactive);
    input_ = source.get();
    previous_ = cad::setInput(std::move(source));
    cad::commandLine().clear();
  }
  ~InstalledInput() { cad::setInput(std::move(previous_)); }
  InstalledInput(const InstalledInput&) = delete;
  InstalledInput& operator=(const InstalledInput&) = delete;

  ScriptedInput& operator*() { return *input_; }
  ScriptedInput* operator->() { return input_; }

 private:
  ScriptedInput* input_;
  std::unique_ptr<cad::InputSource> previous_;
};

}  // namespace testing_ui
