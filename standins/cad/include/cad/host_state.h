#pragma once

// The host's state between commands lives in one object: the command line and
// its transcript, the registered commands, the selection sets, the active
// input, the current drawing, the progress meter, the class-dictionary and
// failed-write counters, the registry and the loaded modules' records.
namespace cad {

// Puts the host back as a freshly started host has it: an empty command line
// without a terminal, no commands, no selection sets, the input that answers
// kEnd, an empty current drawing, no progress meter, zero counters. Every
// part keeps its address. Loaded modules are not touched: unload them first.
void resetHost();

}  // namespace cad
