#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "cad/code_page.h"
#include "cad/command_line.h"
#include "cad/host_exit.h"
#include "cad/terminal_input.h"
#include "host/ac_rx_abort.h"

// A module calls this when it cannot go on. Nothing of the host is safe to
// unwind any more (the module may be half way through changing it), so the
// process ends at once: the message goes to the command line and to standard
// error, every stream is flushed, a terminal in raw mode is put back, and
// std::_Exit skips destructors and exit handlers.
void acrx_abort(const char* format, ...) {
  std::string message = "(no message)";
  if (format != nullptr) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length >= 0) {
      message.assign(static_cast<std::size_t>(length) + 1, '\0');
      std::vsnprintf(message.data(), message.size(), format, args);
      message.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
  }
  cad::commandLine().print(message);
  cad::commandLine().printUtf8("\n");
  std::cout.flush();
  std::cerr << "cadhost: aborted by a module: " << cad::cp936ToUtf8Lossy(message) << std::endl;
  std::fflush(nullptr);
  cad::restoreTerminalModes();
  std::_Exit(cad::kExitAborted);
}
