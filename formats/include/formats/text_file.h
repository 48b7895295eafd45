#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/write_result.h"
#include "host/file_status.h"
#include "host/file_system.h"

namespace tavrin {

// The module's text files. Texts are composed whole in memory with LF line
// ends; on disk every LF is CR LF, on every platform.

// `text` with every LF turned into CR LF (a CR already before it stays, as a
// text-mode stream would leave it).
std::string toDiskText(std::string_view text);

// Writes `text` (LF line ends) to `path` (code page 936) in one piece: into a
// new temporary file beside `path`, which is closed and then renamed over
// `path`. On any failure the temporary file is removed, the file at `path`
// is left as it was, and the result is kWriteFailed with the reason.
WriteResult writeTextFile(const std::string& path, std::string_view text, FileSystem& files);

// The same rule for a file of any bytes that `write` produces: it appends
// them to `file`, the new temporary file beside `path` ("NAME.~" and twelve
// hexadecimal digits, unique to this write), and returns how that went. The
// file is then closed and put in place of `path`. Temporary files an ended
// process left for `path` are removed first; SIGINT, SIGTERM and SIGHUP
// meanwhile remove this one (FileSystem::newTemporaryFile). On any failure,
// `write`'s included, the temporary file is removed, the file at `path` is
// left as it was, and the result is kWriteFailed with the reason.
WriteResult writeFileInPlace(const std::string& path, FileSystem& files,
                             const std::function<FileStatus(WritableFile& file)>& write);

// Files that belong together (a floor and the project's parameter file):
// each is written completely to its temporary file beside its target first,
// then putInPlace() puts them in place one after the other while the signals
// that end the process are held (FileSystem::holdEndingSignals), so that no
// signal ends the process between two of them. Temporary files not put in
// place are removed when the group goes. `files` must outlive the group.
class FileGroup {
 public:
  explicit FileGroup(FileSystem& files) : files_(files) {}
  ~FileGroup();
  FileGroup(const FileGroup&) = delete;
  FileGroup& operator=(const FileGroup&) = delete;

  // Writes what `write` produces for `path` (code page 936) into a new
  // temporary file, as writeFileInPlace() does. On failure the result is
  // kWriteFailed with the reason and nothing of this file is left.
  WriteResult add(const std::string& path,
                  const std::function<FileStatus(WritableFile& file)>& write);
  // The same for `text` with LF line ends, written with CR LF.
  WriteResult addText(const std::string& path, std::string_view text);

  // Puts the files added in place, in the order they were added. On a
  // failure the files before it stay in place, it and those after are left
  // as they were, and the result names the file that failed.
  WriteResult putInPlace();

 private:
  struct Staged {
    std::string path, temporary;
  };
  FileSystem& files_;
  std::vector<Staged> staged_;
};

// The first line of the existing file `path`, without its line end (LF, or
// CR LF). An empty file gives an empty line. Fails when the file cannot be
// read, or when no line end appears in the first `limit` bytes of a file that
// long. The rest of the file is not examined.
FileStatus readFirstLine(const std::string& path, FileSystem& files, std::string* line,
                         std::size_t limit = std::size_t{1} << 20);

}  // namespace tavrin
