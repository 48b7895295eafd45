#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// A file open for reading, from its start on.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Replaces `*piece` with up to `limit` bytes that follow those read
  // before; an empty piece means the end of the file.
  virtual FileStatus read(std::size_t limit, std::string* piece) = 0;
};

// Holds back SIGINT, SIGTERM and SIGHUP while it lives; one that arrives
// meanwhile takes its course when the hold ends. For steps that must not be
// cut in two, such as putting two files that belong together in place.
class SignalHold {
 public:
  virtual ~SignalHold() = default;
};

// An advisory lock held on a folder; released when destroyed.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
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

  // Like newWritableFile, for a temporary file that is to be put in place by
  // replaceFile() or removed: should the process be ended by SIGINT, SIGTERM
  // or SIGHUP before either happens, the file is removed first. The base
  // gives newWritableFile().
  virtual FileStatus newTemporaryFile(const std::string& path,
                                      std::unique_ptr<WritableFile>* file) {
    return newWritableFile(path, file);
  }
  // Puts the file `from` in place of `to`. When `to` exists, a file whose
  // mode bits deny writing to everyone is not replaced (a read-only error,
  // `from` stays), and otherwise the new file takes the old one's mode bits.
  // The base gives renameFile().
  virtual FileStatus replaceFile(const std::string& from, const std::string& to) {
    return renameFile(from, to);
  }
  // The names (not paths) of the entries of `folder` ("" is the current
  // folder), "." and ".." left out. The base lists nothing.
  virtual FileStatus listFolder(const std::string& folder, std::vector<std::string>* names) {
    names->clear();
    (void)folder;
    return FileStatus::ok();
  }
  // Takes an exclusive advisory lock on `folder` ("" is the current folder),
  // waiting up to `waitMilliseconds` while another process holds it; the
  // lock lasts as long as `*lock`. Fails naming the folder when it stays
  // held or cannot be opened. The base locks nothing and succeeds.
  virtual FileStatus lockFolder(const std::string& folder, int waitMilliseconds,
                                std::unique_ptr<FolderLock>* lock) {
    (void)folder;
    (void)waitMilliseconds;
    lock->reset();
    return FileStatus::ok();
  }

  // Opens the existing file `path` to be read a piece at a time, so a file of
  // any size can be read in little memory. (Last in the class, so modules
  // built before it keep their places in the table of calls.) Fails for a missing file, a
  // folder or a file that cannot be opened. The base reads the whole file
  // with readFile() and hands it out in pieces.
  virtual FileStatus openReadableFile(const std::string& path,
                                      std::unique_ptr<ReadableFile>* file) {
    class WholeFile : public ReadableFile {
     public:
      std::string contents;
      std::size_t position = 0;
      FileStatus read(std::size_t limit, std::string* piece) override {
        const std::size_t length = std::min(limit, contents.size() - position);
        piece->assign(contents, position, length);
        position += length;
        return FileStatus::ok();
      }
    };
    auto whole = std::make_unique<WholeFile>();
    FileStatus status = readFile(path, static_cast<std::size_t>(-1), &whole->contents);
    if (status.isOk()) *file = std::move(whole);
    return status;
  }

  // Removes the temporary file `path` that a writer left behind, unless a
  // writer is still at work on it (a file from newTemporaryFile() not yet
  // put in place or removed, in this process or another): then it stays. A
  // missing file is no failure. The base removes it with removeFile().
  virtual FileStatus removeAbandonedTemporary(const std::string& path) { return removeFile(path); }

  // Holds the signals that end the process (SIGINT, SIGTERM, SIGHUP) until
  // the returned hold is destroyed. The base holds nothing and returns null.
  virtual std::unique_ptr<SignalHold> holdEndingSignals() { return nullptr; }
  // True when this process may create files in `folder` ("" is the current
  // folder): it exists, is a folder and grants this user writing and
  // searching. A question only; nothing is created. The base says true.
  virtual bool canCreateFilesIn(const std::string& folder) {
    (void)folder;
    return true;
  }
};

// The host's file system, converting paths from code page 936. Lives as long
// as the host.
HOST_API FileSystem& hostFileSystem();
