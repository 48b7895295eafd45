#include "web_session/event_log.h"

#include <utility>

namespace web {

std::uint64_t EventLog::append(nlohmann::json event) {
  std::uint64_t seq = 0;
  {
    std::lock_guard lock(mutex_);
    seq = events_.size() + 1;
    event["seq"] = seq;
    events_.push_back(std::move(event));
  }
  changed_.notify_all();
  return seq;
}

EventLog::Batch EventLog::collect(std::uint64_t seq) const {
  Batch batch;
  batch.next = seq;
  for (std::size_t i = static_cast<std::size_t>(std::min<std::uint64_t>(seq, events_.size()));
       i < events_.size(); ++i)
    batch.events.push_back(events_[i]);
  if (!batch.events.empty()) batch.next = events_.size();
  return batch;
}

EventLog::Batch EventLog::after(std::uint64_t seq, std::chrono::milliseconds wait) const {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return closed_ || events_.size() > seq; });
  return collect(seq);
}

void EventLog::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

}  // namespace web
