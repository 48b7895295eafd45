#pragma once

#include <memory>
#include <string>

#include "base/result.h"

namespace cad {

// A module loaded into the host, from load to unload.
//
// Loading runs what the system's loader and the host do, in this order:
// dlopen (immediate binding, symbols kept local), resolve the four entry
// points DllMain, _SetacrxPtp, acrxGetApiVersion and acrxEntryPoint,
// DllMain(instance, 1, nullptr), _SetacrxPtp(), acrxGetApiVersion() (must be
// 917504), acrxEntryPoint(1, appId). Destroying the object unloads it:
// acrxEntryPoint(2, appId), removal of any commands the module left
// registered, DllMain(instance, 0, nullptr), dlclose. What goes wrong while
// unloading is reported on the command line.
//
// The instance handle is an opaque pointer that identifies the module to the
// host's functions below for as long as it stays loaded; the application id
// is another opaque pointer that the dynamic linker knows.
class LoadedModule {
 public:
  // Loads the module file at `path` (UTF-8). On failure the status names the
  // module and what failed (the missing entry point, the wrong interface
  // version, the loader's own message), and nothing is left loaded: whatever
  // part of the start-up ran is undone.
  static base::Result<std::unique_ptr<LoadedModule>> load(const std::string& path);

  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  // Absolute path of the module file.
  const std::string& path() const;
  // File name without extension, e.g. "tavrin".
  std::string baseName() const;
  void* instance() const;
  void* appId() const;
  // True once the module called unlockApplication with its application id.
  bool unlocked() const;

  // What the loader keeps of the module (internal to the loader).
  struct State;

 private:
  explicit LoadedModule(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// File name without extension of the loaded module with this instance handle,
// as the file system spells it (UTF-8); empty for an unknown handle.
std::string moduleBaseName(const void* instance);

// Absolute path of the loaded module with this instance handle; empty for an
// unknown handle.
std::string modulePath(const void* instance);

// Address of the symbol `name` exported by the loaded module with this
// instance handle (its own symbols and those of what it links), or null when
// the handle is unknown or the module has no such symbol.
void* moduleSymbol(const void* instance, const char* name);

}  // namespace cad
