#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

#include "base/status.h"

namespace base {

// A value of type T, or the failed Status that says why there is none.
// Asking a failed result for its value is a programming error (asserted).
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
  // `status` must be failed; an ok status without a value becomes a failure.
  Result(Status status)  // NOLINT: implicit by design
      : status_(status.isOk() ? Status::error("no value") : std::move(status)) {}

  bool isOk() const { return value_.has_value(); }
  const Status& status() const { return status_; }
  // Empty when ok.
  const std::string& message() const { return status_.message(); }

  T& value() & {
    assert(isOk());
    return *value_;
  }
  const T& value() const& {
    assert(isOk());
    return *value_;
  }
  T&& value() && {
    assert(isOk());
    return std::move(*value_);
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

 private:
  std::optional<T> value_;
  Status status_ = Status::ok();
};

}  // namespace base
