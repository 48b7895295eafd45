#pragma once

#include <chrono>
#include <string>

// The progress meter of a long computation (ads_progress_begin and friends;
// internal to the host library).
namespace cad::detail {

struct ProgressMeter {
  using Clock = std::chrono::steady_clock;

  bool running = false;
  bool shown = false;
  std::string label;  // UTF-8
  long total = 1;
  Clock::time_point started;
  Clock::time_point drawn;
};

}  // namespace cad::detail
