#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// The first line of the existing file `path`, without its line end (LF, or
// CR LF). An empty file gives an empty line. Fails when the file cannot be
// read, or when no line end appears in the first `limit` bytes of a file that
// long. The rest of the file is not examined.
FileStatus readFirstLine(const std::string& path, FileSystem& files, std::string* line,
                         std::size_t limit = std::size_t{1} << 20);

}  // namespace tavrin
