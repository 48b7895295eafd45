#pragma once

#include <string>
#include <vector>

#include "host/ac_rx_dynamic_linker.h"

namespace cad {

// What the linker knows of one loaded module.
struct ModuleRecord {
  std::string path;          // absolute path of the module file
  void* instance = nullptr;  // the instance handle given to its loader entry
  void* appId = nullptr;     // the application id given to acrxEntryPoint
  void* library = nullptr;   // what dlopen returned
  bool unlocked = false;     // set by unlockApplication
};

// The host's dynamic linker, the registry's "DynamicLinker". It keeps the
// records of the loaded modules; cad::LoadedModule adds and removes them.
class DynamicLinker final : public AcRxDynamicLinker {
 public:
  bool unlockApplication(void* appId) const override;

  // Records a module that is being loaded. Its instance and appId must be
  // unique and not null.
  void addModule(ModuleRecord record);
  // Forgets the module with `instance`; nothing when it is unknown.
  void removeModule(const void* instance);

  // In load order.
  const std::vector<ModuleRecord>& modules() const { return modules_; }
  // The record with that instance handle, application id or path, or null.
  const ModuleRecord* findByInstance(const void* instance) const;
  const ModuleRecord* findByAppId(const void* appId) const;
  const ModuleRecord* findByPath(const std::string& path) const;

 private:
  // unlockApplication is const in the host interface but marks a module.
  mutable std::vector<ModuleRecord> modules_;
};

// The host's dynamic linker.
DynamicLinker& dynamicLinker();

}  // namespace cad
