#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include <nlohmann/json.hpp>

namespace web {

// What happened in the session, in order, for the page to poll. Each event is
// a JSON object that gets a "seq" (1, 2, ...) when appended. Safe to use from
// any thread.
class EventLog {
 public:
  // Appends `event` (an object) and returns its seq.
  std::uint64_t append(nlohmann::json event);

  struct Batch {
    std::vector<nlohmann::json> events;  // every event with seq > the one asked
    std::uint64_t next = 0;              // the seq to ask after next time
  };
  // The events after `seq`. When there are none, waits up to `wait` for one
  // (or for close()), then answers what there is, possibly nothing.
  Batch after(std::uint64_t seq, std::chrono::milliseconds wait) const;

  // Wakes every waiting after() at once; later calls wait no more.
  void close();

 private:
  Batch collect(std::uint64_t seq) const;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<nlohmann::json> events_;
  bool closed_ = false;
};

}  // namespace web
