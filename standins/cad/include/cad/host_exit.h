#pragma once

// Exit statuses of the cadhost program.
namespace cad {

constexpr int kExitOk = 0;          // the script ran to its end without errors
constexpr int kExitLoadFailed = 1;  // bad arguments, or a drawing, script or module failed to load
constexpr int kExitScriptFailed = 2;  // a script error, or a command that failed
constexpr int kExitAborted = 3;       // a module called acrx_abort
constexpr int kExitWriteFailed = 4;   // a file write failed (before a script error)

}  // namespace cad
