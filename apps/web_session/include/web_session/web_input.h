#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "cad/input_source.h"

namespace web {

// The host's answers as the page sends them (POST /api/answer), one line
// each, taken in order. It answers as a script does -- not interactive, so
// every asker behaves exactly as under `cadhost --script` -- except that a
// rejected answer is told and asked again instead of ending the session.
// Lines the askers accepted make the session's script, which replays it.
//
// push() and end() may be called from any thread; the rest from the host's.
class WebInput final : public cad::InputSource {
 public:
  // `beforeWait` runs on the host's thread each time next() is about to wait
  // for the page (e.g. to send what was printed); may be empty.
  explicit WebInput(std::function<void()> beforeWait = {});

  // Queues one answer line (UTF-8, no line end). "*cancel*" is Esc.
  void push(std::string line);
  // Ends the input: next() answers kEnd from now on, also when waiting.
  void end();
  bool ended() const;

  // The accepted answers so far, each followed by "\n": a script that
  // `cadhost --script` replays. Any thread.
  std::string script() const;

  // The host asks again (or is about to): the answer given last was taken,
  // so it joins the script. next() does this too; a front end that tells
  // the page about the new question first calls it before, so that the
  // script the page fetches then is complete. Host's thread.
  void commitPending();

  cad::Answer next() override;
  void reject(const cad::Answer& answer, std::string_view reason) override;
  bool interactive() const override { return false; }
  bool failed() const override { return false; }
  void atCommandPrompt() override { atCommandPrompt_ = true; }

 private:
  std::function<void()> beforeWait_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::string> queue_;
  bool ended_ = false;
  std::string script_;
  std::string pending_;  // the last answer given, until the asker asks again
  bool hasPending_ = false;
  bool atCommandPrompt_ = false;  // the next answer is a command
  long answers_ = 0;
};

// True once SIGINT asked the session to stop; requestStop() is safe in a
// signal handler.
void requestStop();
bool stopRequested();

}  // namespace web
