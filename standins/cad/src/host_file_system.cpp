#include "cad/file_write_failures.h"
#include "files/posix_file_system.h"
#include "host.h"
#include "host/file_system.h"

namespace cad {

int failedFileWrites() {
  return detail::host().failedFileWrites();
}

}  // namespace cad

// The host's file system counts its failed writes for the session's exit
// status.
FileSystem& hostFileSystem() {
  static files::PosixFileSystem fileSystem([] { ++cad::detail::host().failedFileWrites(); });
  return fileSystem;
}
