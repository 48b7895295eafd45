#include "files/read_up_to.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace files {

int readUpTo(int descriptor, std::size_t limit, std::string* contents) {
  char buffer[8192];
  while (contents->size() < limit) {
    const std::size_t wanted = std::min(sizeof buffer, limit - contents->size());
    const ssize_t got = ::read(descriptor, buffer, wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) break;
    contents->append(buffer, static_cast<std::size_t>(got));
  }
  return 0;
}

}  // namespace files
