#include "cad/host_state.h"

#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/registry.h"

namespace cad {

void resetHost() {
  commandLine().clear();
  commandStack().clear();
  setInput(nullptr);
  resetClassDictionaryLookups();
  setCurrentDatabase(nullptr);
}

}  // namespace cad
