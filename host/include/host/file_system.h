#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/file_status.h"
#include "host/host_export.h"

// The platform's file services as the module uses them. Paths are 8-bit code
// page 936 strings, as the module holds them; the host converts them for the
// operating system. Bytes are written and read as they are: no line-end
// translation happens at this level.

// A file open for writing. Destroying it without close() closes it and drops
// any error.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual FileStatus append(std::string_view data) = 0;
  // Flushes and closes; reports errors the flush or close raised.
  virtual FileStatus close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates `path`, or truncates it when it exists.
  virtual FileStatus newWritableFile(const std::string& path,
                                     std::unique_ptr<WritableFile>* file) = 0;
  // Reads at most `limit` bytes from the start of the existing file `path`
  // into `contents`. Fails for a missing file, a folder or a read error.
  virtual FileStatus readFile(const std::string& path, std::size_t limit,
                              std::string* contents) = 0;
  // Renames `from` to `to`, replacing a file at `to`.
  virtual FileStatus renameFile(const std::string& from, const std::string& to) = 0;
  virtual FileStatus removeFile(const std::string& path) = 0;
  // True when a file or a folder of exactly this name exists. False when
  // nothing is there or the path cannot be searched.
  virtual bool pathExists(const std::string& path) = 0;
};

// The host's file system, converting paths from code page 936. Lives as long
// as the host.
HOST_API FileSystem& hostFileSystem();
