#pragma once

#include <functional>
#include <string>

// How the library learns the file name of the module it serves, which names
// the module's message boxes. The library loads no modules; the host that
// does answers for it.
namespace ui {

// The file name without extension (UTF-8, as the file system spells it) of
// the loaded module with the instance handle `instance`; empty when no file
// is known for it.
using ModuleNameLookup = std::function<std::string(const void* instance)>;

// Installs how the library asks; an empty function (the default) knows no
// file names. The host installs it once, before it loads a module.
void setModuleNameLookup(ModuleNameLookup lookup);

}  // namespace ui
