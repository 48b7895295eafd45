#pragma once

#include <string>

namespace tavrin {

// How a file write ended. kTooLarge is the coordinate-limit refusal of the
// axis file, which writes nothing; kWriteFailed means the file could not be
// created, written, closed or put in place, and the file that was there
// before is unchanged.
enum class WriteOutcome { kWritten, kTooLarge, kWriteFailed };

struct WriteResult {
  WriteOutcome outcome = WriteOutcome::kWritten;
  // The file meant, as the caller named it (code page 936).
  std::string file;
  // Why the write failed, from the file layer (UTF-8); empty otherwise.
  std::string detail;
  // The system's error number behind a failed write, 0 when none is known.
  int systemError = 0;
  // The target's mode bits deny writing: it was not replaced.
  bool readOnly = false;

  bool written() const { return outcome == WriteOutcome::kWritten; }
};

}  // namespace tavrin
