#pragma once

#include <string>
#include <utility>

// Outcome of a file operation: ok, or an error whose message names the file and
// what went wrong (UTF-8 free text for people, not for parsing).
class FileStatus {
 public:
  static FileStatus ok() { return FileStatus(); }
  static FileStatus error(std::string message) { return FileStatus(std::move(message), true); }

  bool isOk() const { return !failed_; }
  const std::string& message() const { return message_; }

 private:
  FileStatus() = default;
  FileStatus(std::string message, bool failed) : message_(std::move(message)), failed_(failed) {}

  std::string message_;
  bool failed_ = false;
};
