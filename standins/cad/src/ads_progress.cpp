#include "host/ads_progress.h"

#include <chrono>
#include <string>

#include "cad/command_line.h"
#include "cad/input_source.h"
#include "host.h"
#include "text/code_page.h"

namespace {

using cad::detail::ProgressMeter;
using Clock = ProgressMeter::Clock;

// Shown after this long, then redrawn at most this often.
constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawTime = std::chrono::milliseconds(100);

ProgressMeter& meter() {
  return cad::detail::host().progressMeter();
}

// A meter only makes sense where a person watches a terminal.
bool watched() {
  return cad::input().interactive() && cad::commandLine().terminal() != nullptr;
}

}  // namespace

void ads_progress_begin(const char* label, long total) {
  ads_progress_end();
  ProgressMeter& m = meter();
  m.running = true;
  m.label = text::cp936ToUtf8Lossy(label != nullptr ? label : "");
  m.total = total < 1 ? 1 : total;
  m.started = Clock::now();
}

void ads_progress_update(long done) {
  ProgressMeter& m = meter();
  if (!m.running || !watched()) return;
  const auto now = Clock::now();
  if (now - m.started < kQuietTime || (m.shown && now - m.drawn < kRedrawTime)) return;
  if (done < 0) done = 0;
  if (done > m.total) done = m.total;
  const long percent = done * 100 / m.total;
  // Drawn over itself on one line; not part of the transcript.
  cad::commandLine().echo("\r\x1b[K" + m.label + " " + std::to_string(percent) + "% (" +
                          std::to_string(done) + "/" + std::to_string(m.total) +
                          ")  Esc or Ctrl-C stops");
  m.shown = true;
  m.drawn = now;
}

void ads_progress_end(void) {
  ProgressMeter& m = meter();
  if (m.shown) cad::commandLine().echo("\r\x1b[K");
  m = ProgressMeter{};
}

int ads_userbreak(void) {
  return cad::input().userBreak() ? 1 : 0;
}
