#pragma once

#include <string>

#include "host/file_status.h"

namespace tavrin {

// How a file write ended. kTooLarge is the coordinate-limit refusal of the
// axis file (or a value that is not finite), which writes nothing;
// kWriteFailed means the file could not be created, written, closed or put
// in place, and the file that was there before is unchanged.
enum class WriteOutcome { kWritten, kTooLarge, kWriteFailed };

struct WriteResult {
  WriteOutcome outcome = WriteOutcome::kWritten;
  // The file meant, as the caller named it (code page 936).
  std::string file;
  // For kWriteFailed, the file layer's failure: its message (UTF-8), the
  // system's error number, whether the target is read-only by its mode bits.
  // Ok otherwise.
  FileStatus status = FileStatus::ok();

  bool written() const { return outcome == WriteOutcome::kWritten; }
};

}  // namespace tavrin
