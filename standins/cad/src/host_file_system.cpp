#include "cad/asking.h"
#include "cad/file_write_failures.h"
#include "files/posix_file_system.h"
#include "host.h"
#include "host/file_system.h"
#include "text/code_page.h"

namespace cad {

int failedFileWrites() {
  return detail::host().failedFileWrites();
}

}  // namespace cad

namespace {

// Tells the observer of each file put in place, so that a front end can show
// what was saved.
class HostFileSystem final : public files::PosixFileSystem {
 public:
  using PosixFileSystem::PosixFileSystem;
  FileStatus renameFile(const std::string& from, const std::string& to) override {
    return told(PosixFileSystem::renameFile(from, to), to);
  }
  FileStatus replaceFile(const std::string& from, const std::string& to) override {
    return told(PosixFileSystem::replaceFile(from, to), to);
  }

 private:
  static FileStatus told(FileStatus status, const std::string& path) {
    if (status.isOk()) cad::publishFileWritten(text::cp936ToUtf8Lossy(path));
    return status;
  }
};

}  // namespace

// The host's file system counts its failed writes for the session's exit
// status.
FileSystem& hostFileSystem() {
  static HostFileSystem fileSystem([] { ++cad::detail::host().failedFileWrites(); });
  return fileSystem;
}
