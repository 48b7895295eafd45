#include "web_session/web_input.h"

#include <cctype>
#include <chrono>
#include <utility>

#include "cad/command_line.h"
#include "text/trim.h"

namespace web {
namespace {

std::atomic<bool> stopFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free);

bool isCancel(std::string_view line) {
  const std::string_view word = text::trimBlanks(line);
  if (word.size() != 8) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(word[i])) != "*cancel*"[i]) return false;
  return true;
}

bool isQuit(std::string_view line) {
  const std::string_view word = text::trimBlanks(line);
  return word == "quit" || word == "QUIT" || word == "Quit";
}

}  // namespace

void requestStop() {
  stopFlag.store(true);
}

bool stopRequested() {
  return stopFlag.load();
}

WebInput::WebInput(std::function<void()> beforeWait) : beforeWait_(std::move(beforeWait)) {}

void WebInput::push(std::string line) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(line));
  }
  arrived_.notify_all();
}

void WebInput::end() {
  {
    std::lock_guard lock(mutex_);
    ended_ = true;
  }
  arrived_.notify_all();
}

bool WebInput::ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

std::string WebInput::script() const {
  std::lock_guard lock(mutex_);
  return script_;
}

void WebInput::commitPending() {
  std::lock_guard lock(mutex_);
  if (hasPending_) script_ += pending_ + "\n";
  hasPending_ = false;
}

cad::Answer WebInput::next() {
  // The asker is asking again: it took the last answer.
  commitPending();
  const bool command = std::exchange(atCommandPrompt_, false);
  // Once ended, the session that made this input may be gone: nothing of it
  // is called any more.
  if (ended()) return cad::Answer{cad::Answer::Kind::kEnd, {}, "web page: session ended"};
  if (beforeWait_) beforeWait_();
  std::string line;
  {
    std::unique_lock lock(mutex_);
    // Polled, so that a SIGINT (which may only set a flag) ends the wait.
    while (!ended_ && queue_.empty())
      if (!arrived_.wait_for(lock, std::chrono::milliseconds(100),
                             [&] { return ended_ || !queue_.empty(); }) &&
          stopFlag.load())
        ended_ = true;
    if (ended_) return cad::Answer{cad::Answer::Kind::kEnd, {}, "web page: session ended"};
    line = std::move(queue_.front());
    queue_.pop_front();
    // "quit" at the command prompt ends the session; it is no answer of the
    // script.
    if (command && isQuit(line)) {
      ended_ = true;
      lock.unlock();
      cad::commandLine().echo(line + "\n");
      return cad::Answer{cad::Answer::Kind::kEnd, {}, "web page: quit"};
    }
    pending_ = line;
    hasPending_ = true;
  }
  const std::string location = "web page:" + std::to_string(++answers_);
  cad::commandLine().printUtf8(line + "\n");
  if (isCancel(line)) return cad::Answer{cad::Answer::Kind::kCancel, {}, location};
  return cad::Answer{cad::Answer::Kind::kLine, std::move(line), location};
}

void WebInput::reject(const cad::Answer& /*answer*/, std::string_view reason) {
  {
    std::lock_guard lock(mutex_);
    hasPending_ = false;
  }
  cad::commandLine().printUtf8(std::string(reason) + "\n");
}

}  // namespace web
