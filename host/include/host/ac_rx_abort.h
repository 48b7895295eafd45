#pragma once

#include "host/host_export.h"

// Prints the formatted message on the command line and ends the host at once,
// abnormally. Never returns.
extern "C" [[noreturn]] HOST_API void acrx_abort(const char* format, ...)
    __attribute__((format(printf, 1, 2)));
