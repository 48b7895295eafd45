#pragma once

#include <string>
#include <utility>

#include "ui/module_names.h"

namespace ui {

class Application;
struct ResourceTable;

// The library's state for the one module it serves: the application object
// that registered itself and, while started, the module's instance handle,
// resources and start-up command line; and how to ask the host for module
// file names. One per process, as the host is; only the library's sources
// see it.
class Library {
 public:
  static Library& get();

  // The first application to register is the module's; later ones are
  // ignored (one per module).
  void registerApplication(Application* app);
  void unregisterApplication(Application* app);

  bool start(void* instance, const ResourceTable* resources);
  void stop();

  bool started() const { return started_; }
  void* instance() const { return instance_; }
  const ResourceTable* resources() const { return resources_; }
  Application* application() const { return application_; }
  std::string caption() const;
  void setModuleNameLookup(ModuleNameLookup lookup) { moduleNames_ = std::move(lookup); }

 private:
  Application* application_ = nullptr;
  bool started_ = false;
  void* instance_ = nullptr;
  const ResourceTable* resources_ = nullptr;
  ModuleNameLookup moduleNames_;
};

}  // namespace ui
