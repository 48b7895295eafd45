#pragma once

#include <string>
#include <utility>

// Outcome of a file operation: ok, or an error whose message names the file and
// what went wrong (UTF-8 free text for people, not for parsing). An error may
// also say why in a form a program can act on: the system's error number, or
// that the file is read-only by its mode bits.
class FileStatus {
 public:
  static FileStatus ok() { return FileStatus(); }
  // `systemError` is the errno value behind the failure, 0 when there is none.
  static FileStatus error(std::string message, int systemError = 0) {
    return FileStatus(std::move(message), systemError, false);
  }
  // A file whose mode bits deny writing to everyone was not replaced.
  static FileStatus readOnly(std::string message) {
    return FileStatus(std::move(message), 0, true);
  }

  bool isOk() const { return !failed_; }
  const std::string& message() const { return message_; }
  int systemError() const { return systemError_; }
  bool isReadOnly() const { return readOnly_; }

 private:
  FileStatus() = default;
  FileStatus(std::string message, int systemError, bool readOnly)
      : message_(std::move(message)),
        systemError_(systemError),
        readOnly_(readOnly),
        failed_(true) {}

  std::string message_;
  int systemError_ = 0;
  bool readOnly_ = false;
  bool failed_ = false;
};
