#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "cad/command_line.h"
#include "cad/host_exit.h"
#include "cad/terminal_input.h"
#include "host/ac_rx_abort.h"
#include "text/code_page.h"
#include "text/format.h"

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
    if (std::optional<std::string> formatted = text::formatV(format, args))
      message = std::move(*formatted);
    va_end(args);
  }
  cad::commandLine().print(message);
  cad::commandLine().printUtf8("\n");
  std::cout.flush();
  std::cerr << "cadhost: aborted by a module: " << text::cp936ToUtf8Lossy(message) << std::endl;
  std::fflush(nullptr);
  cad::restoreTerminalModes();
  std::_Exit(cad::kExitAborted);
}
