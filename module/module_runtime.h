#pragma once

#include <new>

#include "host/ac_rx_object.h"
#include "tavrin_application.h"

namespace tavrin {

// What the module keeps between the host's calls: the instance handle the
// loader gave it, its static objects (the application object), and the cached
// command-stack class descriptor.
//
// The module has no static objects that construct themselves when the loader
// maps it: they are built by start() (from _SetacrxPtp) and destroyed by
// terminate() (at process detach), in the host's order. The runtime itself is
// trivially constructed and destroyed, so mapping the module runs no code.
class ModuleRuntime {
 public:
  // Process attach: records the instance handle; starts nothing.
  void attach(void* instance) { instance_ = instance; }
  void* instance() const { return instance_; }

  // Constructs the static objects. False when they already exist.
  bool start();
  // Destroys the static objects. False when they were never started.
  bool terminate();

  // Null until first looked up; then kept for the module's lifetime.
  AcRxClass* commandStackClass = nullptr;

 private:
  void* instance_ = nullptr;
  TavrinApplication* application_ = nullptr;
  alignas(TavrinApplication) unsigned char applicationStorage_[sizeof(TavrinApplication)] = {};
};

// The module's one runtime.
ModuleRuntime& moduleRuntime();

}  // namespace tavrin
