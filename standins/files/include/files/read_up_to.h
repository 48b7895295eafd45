#pragma once

#include <cstddef>
#include <string>

// Reading a file through its POSIX descriptor.
namespace files {

// Appends to `*contents` what `descriptor` yields from where it stands, until
// the end of the file or until `*contents` holds `limit` bytes; an
// interrupted read is retried. 0 when it got there; otherwise the errno of
// the read that failed (`*contents` then holds what came before it). The
// descriptor stays open.
int readUpTo(int descriptor, std::size_t limit, std::string* contents);

}  // namespace files
