#include "files/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "files/read_up_to.h"
#include "text/code_page.h"

namespace files {
namespace {

std::string reason(int error) {
  return std::generic_category().message(error);
}

FileStatus systemError(const char* action, const std::string& utf8Path, int error) {
  return FileStatus::error(std::string(action) + " \"" + utf8Path + "\": " + reason(error), error);
}

// Temporary files not yet put in place or removed. Should the process be
// ended by a signal meanwhile, the handler removes them, so a killed write
// leaves nothing beside its target. Fixed storage: the handler may only read
// it and call unlink().
constexpr int kPendingSlots = 8;
constexpr std::size_t kPendingPathSize = 4096;
struct PendingTemporary {
  volatile std::sig_atomic_t used = 0;
  char path[kPendingPathSize] = {};
  // A descriptor holding an exclusive flock() on the file while it is being
  // written, so another writer's clean-up of left temporary files passes it
  // by; -1 for none.
  int lock = -1;
};
PendingTemporary pendingTemporaries[kPendingSlots];
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[std::size(kCleanupSignals)];
bool handlersInstalled = false;

extern "C" void removeTemporariesAndResignal(int signal) {
  for (const PendingTemporary& slot : pendingTemporaries)
    if (slot.used) ::unlink(slot.path);
  // The signal then takes its earlier course (by default, ending the process).
  for (std::size_t i = 0; i < std::size(kCleanupSignals); ++i)
    if (kCleanupSignals[i] == signal) ::sigaction(signal, &previousActions[i], nullptr);
  ::raise(signal);
}

// Blocks the cleanup signals while the table changes, and for as long as a
// caller's hold lives.
class CleanupSignalsBlocked : public SignalHold {
 public:
  CleanupSignalsBlocked() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signal : kCleanupSignals) sigaddset(&blocked, signal);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &saved_);
  }
  ~CleanupSignalsBlocked() override { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
  CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
  CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;

 private:
  sigset_t saved_;
};

void registerTemporary(const std::string& utf8Path) {
  if (utf8Path.size() >= kPendingPathSize) return;
  CleanupSignalsBlocked blocked;
  for (PendingTemporary& slot : pendingTemporaries) {
    if (slot.used) continue;
    std::memcpy(slot.path, utf8Path.c_str(), utf8Path.size() + 1);
    slot.used = 1;
    slot.lock = -1;
    if (!handlersInstalled) {
      struct sigaction action {};
      action.sa_handler = removeTemporariesAndResignal;
      sigemptyset(&action.sa_mask);
      for (std::size_t i = 0; i < std::size(kCleanupSignals); ++i)
        ::sigaction(kCleanupSignals[i], &action, &previousActions[i]);
      handlersInstalled = true;
    }
    return;
  }
}

// Keeps `lock` (a descriptor with the file's flock) until the file is put in
// place or removed; closed at once when the file is not registered.
void holdTemporaryLock(const std::string& utf8Path, int lock) {
  CleanupSignalsBlocked blocked;
  for (PendingTemporary& slot : pendingTemporaries) {
    if (slot.used && utf8Path == slot.path && slot.lock < 0) {
      slot.lock = lock;
      return;
    }
  }
  ::close(lock);
}

void forgetTemporary(const std::string& utf8Path) {
  CleanupSignalsBlocked blocked;
  bool anyLeft = false;
  for (PendingTemporary& slot : pendingTemporaries) {
    if (slot.used && utf8Path == slot.path) {
      slot.used = 0;
      if (slot.lock >= 0) ::close(slot.lock);
      slot.lock = -1;
    }
    anyLeft = anyLeft || slot.used;
  }
  if (!anyLeft && handlersInstalled) {
    for (std::size_t i = 0; i < std::size(kCleanupSignals); ++i)
      ::sigaction(kCleanupSignals[i], &previousActions[i], nullptr);
    handlersInstalled = false;
  }
}

class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int descriptor) : descriptor_(descriptor) {}
  ~PosixFolderLock() override { ::close(descriptor_); }
  PosixFolderLock(const PosixFolderLock&) = delete;
  PosixFolderLock& operator=(const PosixFolderLock&) = delete;

 private:
  int descriptor_;
};

// The operating system's form of a module path, or an error naming the path.
FileStatus systemPath(const std::string& cp936Path, std::string* utf8Path) {
  if (cp936Path.empty()) return FileStatus::error("empty file name");
  if (cp936Path.find('\0') != std::string::npos)
    return FileStatus::error("file name \"" + text::cp936ToUtf8Lossy(cp936Path) +
                             "\" holds a NUL byte");
  std::optional<std::string> converted = text::cp936ToUtf8(cp936Path);
  if (!converted)
    return FileStatus::error("file name \"" + text::cp936ToUtf8Lossy(cp936Path) +
                             "\" is not valid code page 936");
  *utf8Path = std::move(*converted);
  return FileStatus::ok();
}

class PosixWritableFile : public WritableFile {
 public:
  PosixWritableFile(int descriptor, std::string utf8Path, const std::function<void()>& onFailure)
      : descriptor_(descriptor), path_(std::move(utf8Path)), onFailure_(onFailure) {}
  ~PosixWritableFile() override {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  PosixWritableFile(const PosixWritableFile&) = delete;
  PosixWritableFile& operator=(const PosixWritableFile&) = delete;

  FileStatus append(std::string_view data) override {
    if (descriptor_ < 0) return FileStatus::error("write to closed file \"" + path_ + "\"");
    while (!data.empty()) {
      const ssize_t written = ::write(descriptor_, data.data(), data.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        return failed(systemError("cannot write", path_, errno));
      }
      data.remove_prefix(static_cast<std::size_t>(written));
    }
    return FileStatus::ok();
  }

  FileStatus close() override {
    if (descriptor_ < 0) return FileStatus::error("file \"" + path_ + "\" closed twice");
    const int descriptor = descriptor_;
    descriptor_ = -1;
    // The data must be on disk before a caller renames the file over an
    // older one. Some file systems cannot sync (EINVAL); that is no failure.
    int syncError = 0;
    if (::fsync(descriptor) != 0 && errno != EINVAL) syncError = errno;
    const int closeResult = ::close(descriptor);
    const int closeError = closeResult != 0 && errno != EINTR ? errno : 0;
    if (syncError != 0) return failed(systemError("cannot flush", path_, syncError));
    if (closeError != 0) return failed(systemError("cannot close", path_, closeError));
    return FileStatus::ok();
  }

 private:
  FileStatus failed(FileStatus status) const {
    if (onFailure_) onFailure_();
    return status;
  }

  int descriptor_;
  std::string path_;
  const std::function<void()>& onFailure_;
};

FileStatus rename(const std::string& utf8From, const std::string& utf8To) {
  if (std::rename(utf8From.c_str(), utf8To.c_str()) != 0) {
    const int error = errno;
    return FileStatus::error(
        "cannot rename \"" + utf8From + "\" to \"" + utf8To + "\": " + reason(error), error);
  }
  forgetTemporary(utf8From);
  return FileStatus::ok();
}

}  // namespace

PosixFileSystem::PosixFileSystem(std::function<void()> onWriteFailure)
    : onWriteFailure_(std::move(onWriteFailure)) {}

FileStatus PosixFileSystem::writeFailure(FileStatus status) const {
  if (!status.isOk() && onWriteFailure_) onWriteFailure_();
  return status;
}

FileStatus PosixFileSystem::newWritableFile(const std::string& path,
                                            std::unique_ptr<WritableFile>* file) {
  return create(path, file, false);
}

FileStatus PosixFileSystem::newTemporaryFile(const std::string& path,
                                             std::unique_ptr<WritableFile>* file) {
  return create(path, file, true);
}

namespace {

// Opens the existing file `path` (code page 936) for reading; a folder is
// refused. Its descriptor, and its name for messages in `utf8`.
FileStatus openForReading(const std::string& path, std::string* utf8, int* descriptor) {
  if (FileStatus status = systemPath(path, utf8); !status.isOk()) return status;
  const int opened = ::open(utf8->c_str(), O_RDONLY | O_CLOEXEC);
  if (opened < 0) return systemError("cannot open", *utf8, errno);
  struct stat info;
  if (::fstat(opened, &info) != 0) {
    const int error = errno;
    ::close(opened);
    return systemError("cannot examine", *utf8, error);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(opened);
    return systemError("cannot read", *utf8, EISDIR);
  }
  *descriptor = opened;
  return FileStatus::ok();
}

class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int descriptor, std::string utf8Path)
      : descriptor_(descriptor), path_(std::move(utf8Path)) {}
  ~PosixReadableFile() override { ::close(descriptor_); }
  PosixReadableFile(const PosixReadableFile&) = delete;
  PosixReadableFile& operator=(const PosixReadableFile&) = delete;

  FileStatus read(std::size_t limit, std::string* piece) override {
    piece->clear();
    const int error = readUpTo(descriptor_, limit, piece);
    if (error != 0) return systemError("cannot read", path_, error);
    return FileStatus::ok();
  }

 private:
  int descriptor_;
  std::string path_;
};

}  // namespace

FileStatus PosixFileSystem::readFile(const std::string& path, std::size_t limit,
                                     std::string* contents) {
  std::string utf8;
  int descriptor = -1;
  if (FileStatus status = openForReading(path, &utf8, &descriptor); !status.isOk()) return status;
  std::string read;
  const int error = readUpTo(descriptor, limit, &read);
  ::close(descriptor);
  if (error != 0) return systemError("cannot read", utf8, error);
  *contents = std::move(read);
  return FileStatus::ok();
}

FileStatus PosixFileSystem::openReadableFile(const std::string& path,
                                             std::unique_ptr<ReadableFile>* file) {
  std::string utf8;
  int descriptor = -1;
  if (FileStatus status = openForReading(path, &utf8, &descriptor); !status.isOk()) return status;
  *file = std::make_unique<PosixReadableFile>(descriptor, std::move(utf8));
  return FileStatus::ok();
}

FileStatus PosixFileSystem::renameFile(const std::string& from, const std::string& to) {
  std::string utf8From, utf8To;
  if (FileStatus status = systemPath(from, &utf8From); !status.isOk()) return status;
  if (FileStatus status = systemPath(to, &utf8To); !status.isOk()) return status;
  return rename(utf8From, utf8To);
}

FileStatus PosixFileSystem::replaceFile(const std::string& from, const std::string& to) {
  std::string utf8From, utf8To;
  if (FileStatus status = systemPath(from, &utf8From); !status.isOk()) return writeFailure(status);
  if (FileStatus status = systemPath(to, &utf8To); !status.isOk()) return writeFailure(status);
  // Decided from the mode bits, not by trying: a process with every
  // privilege would otherwise replace a file its owner protected.
  struct stat old;
  if (::stat(utf8To.c_str(), &old) == 0) {
    if (S_ISREG(old.st_mode) && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
      return writeFailure(FileStatus::readOnly("file \"" + utf8To + "\" is read-only"));
    if (S_ISREG(old.st_mode) && ::chmod(utf8From.c_str(), old.st_mode & 07777) != 0)
      return writeFailure(systemError("cannot set the mode of", utf8From, errno));
  }
  return writeFailure(rename(utf8From, utf8To));
}

FileStatus PosixFileSystem::listFolder(const std::string& folder, std::vector<std::string>* names) {
  names->clear();
  std::string utf8 = ".";
  if (!folder.empty()) {
    if (FileStatus status = systemPath(folder, &utf8); !status.isOk()) return status;
  }
  DIR* directory = ::opendir(utf8.c_str());
  if (directory == nullptr) return systemError("cannot list", utf8, errno);
  while (const dirent* entry = ::readdir(directory)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // Names code page 936 cannot hold are no module file's.
    if (std::optional<std::string> cp936 = text::utf8ToCp936(name)) names->push_back(*cp936);
  }
  ::closedir(directory);
  return FileStatus::ok();
}

FileStatus PosixFileSystem::lockFolder(const std::string& folder, int waitMilliseconds,
                                       std::unique_ptr<FolderLock>* lock) {
  lock->reset();
  std::string utf8 = ".";
  if (!folder.empty()) {
    if (FileStatus status = systemPath(folder, &utf8); !status.isOk()) return writeFailure(status);
  }
  const int descriptor = ::open(utf8.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return writeFailure(systemError("cannot open the folder", utf8, errno));
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
  while (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      ::close(descriptor);
      return writeFailure(systemError("cannot lock the folder", utf8, error));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  *lock = std::make_unique<PosixFolderLock>(descriptor);
  return FileStatus::ok();
}

FileStatus PosixFileSystem::removeFile(const std::string& path) {
  std::string utf8;
  if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return status;
  forgetTemporary(utf8);
  if (::unlink(utf8.c_str()) != 0) return systemError("cannot remove", utf8, errno);
  return FileStatus::ok();
}

bool PosixFileSystem::pathExists(const std::string& path) {
  std::string utf8;
  if (!systemPath(path, &utf8).isOk()) return false;
  struct stat info;
  return ::stat(utf8.c_str(), &info) == 0;
}

bool PosixFileSystem::canCreateFilesIn(const std::string& folder) {
  std::string utf8 = ".";
  if (!folder.empty() && !systemPath(folder, &utf8).isOk()) return false;
  struct stat info;
  if (::stat(utf8.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return ::faccessat(AT_FDCWD, utf8.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

FileStatus PosixFileSystem::create(const std::string& path, std::unique_ptr<WritableFile>* file,
                                   bool temporary) {
  std::string utf8;
  if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return writeFailure(status);
  // Registered before it exists, so no moment is left in which a signal
  // would leave it behind.
  if (temporary) registerTemporary(utf8);
  for (int attempt = 0;; ++attempt) {
    const int descriptor = ::open(utf8.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      const int error = errno;
      if (temporary) forgetTemporary(utf8);
      return writeFailure(systemError("cannot create", utf8, error));
    }
    if (temporary && attempt < 3 && !lockedWhileLinked(utf8)) {
      // Another writer's clean-up took it between its creation and the
      // lock: made anew.
      ::close(descriptor);
      continue;
    }
    *file = std::make_unique<PosixWritableFile>(descriptor, utf8, onWriteFailure_);
    return FileStatus::ok();
  }
}

// Takes the flock() that marks the temporary file `utf8Path` as being
// written. False when the file was removed before the lock was taken.
bool PosixFileSystem::lockedWhileLinked(const std::string& utf8Path) {
  const int lock = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (lock < 0) return errno != ENOENT;
  struct stat info;
  if (::flock(lock, LOCK_EX) != 0 || ::fstat(lock, &info) != 0) {
    ::close(lock);
    return true;  // no lock to be had here: written unguarded, as before
  }
  if (info.st_nlink == 0) {
    ::close(lock);
    return false;
  }
  holdTemporaryLock(utf8Path, lock);
  return true;
}

FileStatus PosixFileSystem::removeAbandonedTemporary(const std::string& path) {
  std::string utf8;
  if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return status;
  const int lock = ::open(utf8.c_str(), O_RDONLY | O_CLOEXEC);
  if (lock < 0) return errno == ENOENT ? FileStatus::ok() : systemError("cannot open", utf8, errno);
  // A writer still at work holds the lock: its file stays.
  if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    ::close(lock);
    return FileStatus::ok();
  }
  const int removed = ::unlink(utf8.c_str());
  const int error = errno;
  ::close(lock);
  if (removed != 0 && error != ENOENT) return systemError("cannot remove", utf8, error);
  return FileStatus::ok();
}

std::unique_ptr<SignalHold> PosixFileSystem::holdEndingSignals() {
  return std::make_unique<CleanupSignalsBlocked>();
}

}  // namespace files
