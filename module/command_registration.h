#pragma once

#include "host/ac_ed_command_stack.h"

namespace tavrin {

// The command group and its one command, as the host knows them.
inline constexpr char kCommandGroup[] = "TAVRIN";
inline constexpr char kCommandName[] = "acadtomn";  // global and local name
inline constexpr int kCommandFlags = 0;             // a plain modal command

// The host's command stack: the registry's "ACAD_REGISTERED_COMMANDS" entry,
// taken by the class test against the "AcEdCommandStack" descriptor of the
// registry's "ClassDictionary". The descriptor is looked up once and cached
// in the module runtime. Null when an entry is missing or a test fails.
AcEdCommandStack* commandStack();

}  // namespace tavrin
