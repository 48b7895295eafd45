#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/file_system.h"

// The platform's file services over POSIX, as host/file_system.h describes
// them: what the host hands the module, and what the tools read and write
// project files with. Paths arrive in code page 936 and are converted to
// UTF-8 for the operating system; every error names the path (in UTF-8) and
// the system's reason.
namespace files {

class PosixFileSystem : public FileSystem {
 public:
  // `onWriteFailure` (may be empty) is called once for every write that
  // fails: a file not created, written, closed or put in place (a read-only
  // target included), or a folder lock not obtained. The file system must
  // outlive the files it opens.
  explicit PosixFileSystem(std::function<void()> onWriteFailure = {});

  FileStatus newWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override;
  FileStatus newTemporaryFile(const std::string& path,
                              std::unique_ptr<WritableFile>* file) override;
  FileStatus readFile(const std::string& path, std::size_t limit, std::string* contents) override;
  FileStatus openReadableFile(const std::string& path,
                              std::unique_ptr<ReadableFile>* file) override;
  FileStatus renameFile(const std::string& from, const std::string& to) override;
  FileStatus replaceFile(const std::string& from, const std::string& to) override;
  FileStatus listFolder(const std::string& folder, std::vector<std::string>* names) override;
  FileStatus lockFolder(const std::string& folder, int waitMilliseconds,
                        std::unique_ptr<FolderLock>* lock) override;
  FileStatus removeFile(const std::string& path) override;
  bool pathExists(const std::string& path) override;
  // A temporary file is marked as being written by an flock() held from its
  // creation until it is put in place or removed.
  FileStatus removeAbandonedTemporary(const std::string& path) override;
  // Blocks the three signals for the calling thread while the hold lives.
  std::unique_ptr<SignalHold> holdEndingSignals() override;
  // Asks the system with the effective user and group ids, as a creation
  // would be checked; a read-only mount says no.
  bool canCreateFilesIn(const std::string& folder) override;

 private:
  FileStatus create(const std::string& path, std::unique_ptr<WritableFile>* file, bool temporary);
  static bool lockedWhileLinked(const std::string& utf8Path);
  // Counts `status` when it is a failure, and passes it on.
  FileStatus writeFailure(FileStatus status) const;

  std::function<void()> onWriteFailure_;
};

}  // namespace files
