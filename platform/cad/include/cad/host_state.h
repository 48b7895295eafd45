#pragma once

// The host's state between commands: the command line and its transcript,
// the registered commands, the active input, the class-dictionary lookup
// counter and the current drawing. Each lives where it is used; this puts
// them all back as a freshly started host has them.
namespace cad {

// Empties the command line, removes every registered command, drops the
// active input, zeroes the class-dictionary counter and replaces the current
// drawing by an empty one. Loaded modules are not touched: unload them first.
void resetHost();

}  // namespace cad
