#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/file_system.h"

// A file system for tests that passes every call to the host's file system
// and fails the ones it is told to, the way a broken disk would: creating a
// file, the N-th append (after writing half of its data, as a full disk
// does), closing, renaming or replacing.
class FaultInjectingFileSystem : public FileSystem {
 public:
  // 1-based number of the append call that fails; 0 for none.
  int failAppendNumber = 0;
  bool failCreate = false;
  bool failClose = false;
  bool failRename = false;

  // Every path handed to newWritableFile or newTemporaryFile, in order.
  std::vector<std::string> created;
  int appendCalls = 0;

  FileStatus newWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override;
  FileStatus readFile(const std::string& path, std::size_t limit, std::string* contents) override;
  FileStatus renameFile(const std::string& from, const std::string& to) override;
  FileStatus removeFile(const std::string& path) override;
  FileStatus removeAbandonedTemporary(const std::string& path) override;
  bool pathExists(const std::string& path) override;
  FileStatus newTemporaryFile(const std::string& path,
                              std::unique_ptr<WritableFile>* file) override;
  FileStatus replaceFile(const std::string& from, const std::string& to) override;
  FileStatus listFolder(const std::string& folder, std::vector<std::string>* names) override;
  std::unique_ptr<SignalHold> holdEndingSignals() override { return host_.holdEndingSignals(); }

 private:
  FileSystem& host_ = hostFileSystem();
};
