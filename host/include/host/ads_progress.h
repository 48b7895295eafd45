#pragma once

#include "host/host_export.h"

// Feedback during a long computation of a module: a progress meter and the
// check whether the user asked to stop. The host decides how to show them;
// a module calls them the same way wherever it runs. Strings are code page
// 936.

extern "C" {

// Starts the meter for a computation of `total` steps (total >= 1); `label`
// says what runs. A meter already running is replaced. The host shows the
// meter only where a person watches, and only once the computation has run
// for about a second.
HOST_API void ads_progress_begin(const char* label, long total);
// `done` of the total steps are done (0 <= done <= total).
HOST_API void ads_progress_update(long done);
// The computation ended, finished or stopped: the meter goes away.
HOST_API void ads_progress_end(void);

// Non-zero when the user has asked to stop the running computation (Esc or
// Ctrl-C where a person types); 0 otherwise, and always 0 when the answers
// come from a script. Cheap enough to call once per outer-loop step.
HOST_API int ads_userbreak(void);

}  // extern "C"
