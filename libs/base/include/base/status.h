#pragma once

#include <string>
#include <utility>

namespace base {

// The outcome of an operation that returns nothing else: ok, or failed with a
// message for people (UTF-8, naming what was wrong and where; not for parsing).
// A failed status always carries a message.
class [[nodiscard]] Status {
 public:
  static Status ok() { return Status(); }
  // `message` must not be empty: an empty message would read as success to
  // anyone printing it.
  static Status error(std::string message) {
    if (message.empty()) message = "unknown error";
    return Status(std::move(message));
  }

  bool isOk() const { return !failed_; }
  // Empty when ok.
  const std::string& message() const { return message_; }

 private:
  Status() = default;
  explicit Status(std::string message) : message_(std::move(message)), failed_(true) {}

  std::string message_;
  bool failed_ = false;
};

}  // namespace base
