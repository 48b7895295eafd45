#include <cstdarg>
#include <optional>
#include <string>

#include "cad/command_line.h"
#include "host/ads.h"
#include "text/format.h"

int ads_printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::optional<std::string> line = text::formatV(format, args);
  va_end(args);
  if (!line) return RTERROR;
  cad::commandLine().print(*line);
  return RTNORM;
}
