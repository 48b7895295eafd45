// The host's file services over POSIX. Paths arrive in code page 936 and are
// converted to UTF-8 for the operating system; every error names the path (in
// UTF-8) and the system's reason.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

#include "cad/code_page.h"
#include "host/file_system.h"

namespace {

std::string reason(int error) {
  return std::generic_category().message(error);
}

FileStatus systemError(const char* action, const std::string& utf8Path, int error) {
  return FileStatus::error(std::string(action) + " \"" + utf8Path + "\": " + reason(error));
}

// The operating system's form of a module path, or an error naming the path.
FileStatus systemPath(const std::string& cp936Path, std::string* utf8Path) {
  if (cp936Path.empty()) return FileStatus::error("empty file name");
  if (cp936Path.find('\0') != std::string::npos)
    return FileStatus::error("file name \"" + cad::cp936ToUtf8Lossy(cp936Path) +
                             "\" holds a NUL byte");
  std::optional<std::string> converted = cad::cp936ToUtf8(cp936Path);
  if (!converted)
    return FileStatus::error("file name \"" + cad::cp936ToUtf8Lossy(cp936Path) +
                             "\" is not valid code page 936");
  *utf8Path = std::move(*converted);
  return FileStatus::ok();
}

class PosixWritableFile : public WritableFile {
 public:
  PosixWritableFile(int descriptor, std::string utf8Path)
      : descriptor_(descriptor), path_(std::move(utf8Path)) {}
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
        return systemError("cannot write", path_, errno);
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
    if (syncError != 0) return systemError("cannot flush", path_, syncError);
    if (closeError != 0) return systemError("cannot close", path_, closeError);
    return FileStatus::ok();
  }

 private:
  int descriptor_;
  std::string path_;
};

class HostFileSystem : public FileSystem {
 public:
  FileStatus newWritableFile(const std::string& path,
                             std::unique_ptr<WritableFile>* file) override {
    std::string utf8;
    if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return status;
    const int descriptor = ::open(utf8.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0) return systemError("cannot create", utf8, errno);
    *file = std::make_unique<PosixWritableFile>(descriptor, utf8);
    return FileStatus::ok();
  }

  FileStatus readFile(const std::string& path, std::size_t limit, std::string* contents) override {
    std::string utf8;
    if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return status;
    const int descriptor = ::open(utf8.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return systemError("cannot open", utf8, errno);
    struct stat info;
    if (::fstat(descriptor, &info) != 0) {
      const int error = errno;
      ::close(descriptor);
      return systemError("cannot examine", utf8, error);
    }
    if (S_ISDIR(info.st_mode)) {
      ::close(descriptor);
      return systemError("cannot read", utf8, EISDIR);
    }
    std::string read;
    char buffer[8192];
    while (read.size() < limit) {
      const std::size_t wanted = std::min(sizeof buffer, limit - read.size());
      const ssize_t got = ::read(descriptor, buffer, wanted);
      if (got < 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(descriptor);
        return systemError("cannot read", utf8, error);
      }
      if (got == 0) break;
      read.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    *contents = std::move(read);
    return FileStatus::ok();
  }

  FileStatus renameFile(const std::string& from, const std::string& to) override {
    std::string utf8From, utf8To;
    if (FileStatus status = systemPath(from, &utf8From); !status.isOk()) return status;
    if (FileStatus status = systemPath(to, &utf8To); !status.isOk()) return status;
    if (std::rename(utf8From.c_str(), utf8To.c_str()) != 0)
      return FileStatus::error("cannot rename \"" + utf8From + "\" to \"" + utf8To +
                               "\": " + reason(errno));
    return FileStatus::ok();
  }

  FileStatus removeFile(const std::string& path) override {
    std::string utf8;
    if (FileStatus status = systemPath(path, &utf8); !status.isOk()) return status;
    if (::unlink(utf8.c_str()) != 0) return systemError("cannot remove", utf8, errno);
    return FileStatus::ok();
  }

  bool pathExists(const std::string& path) override {
    std::string utf8;
    if (!systemPath(path, &utf8).isOk()) return false;
    struct stat info;
    return ::stat(utf8.c_str(), &info) == 0;
  }
};

}  // namespace

FileSystem& hostFileSystem() {
  static HostFileSystem fileSystem;
  return fileSystem;
}
