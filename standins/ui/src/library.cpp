#include "ui/library.h"

#include <optional>
#include <string>
#include <utility>

#include "library_state.h"
#include "text/code_page.h"
#include "ui/application.h"
#include "ui/module_names.h"
#include "ui/resource_table.h"

namespace ui {

Library& Library::get() {
  static Library library;
  return library;
}

void Library::registerApplication(Application* app) {
  if (application_ == nullptr) application_ = app;
}

void Library::unregisterApplication(Application* app) {
  if (application_ != app) return;
  // A module that unloads without stopping the library must not leave a
  // dangling application behind.
  started_ = false;
  instance_ = nullptr;
  resources_ = nullptr;
  application_ = nullptr;
}

bool Library::start(void* instance, const ResourceTable* resources) {
  if (application_ == nullptr || started_ || resources == nullptr) return false;
  instance_ = instance;
  resources_ = resources;
  started_ = true;
  if (!application_->namedByConstructor_) application_->name_ = caption();
  if (application_->initInstance()) return true;
  started_ = false;
  instance_ = nullptr;
  resources_ = nullptr;
  return false;
}

void Library::stop() {
  if (!started_) return;
  application_->exitInstance();
  started_ = false;
  instance_ = nullptr;
  resources_ = nullptr;
}

std::string Library::caption() const {
  if (application_ != nullptr && application_->namedByConstructor_) return application_->name_;
  if (!started_) return {};
  // The module's file name as the host knows it; the resource table's name
  // when the host knows no file for this instance (tests) or the name does
  // not fit code page 936.
  const std::string utf8Name = moduleNames_ ? moduleNames_(instance_) : std::string();
  std::optional<std::string> fileName = text::utf8ToCp936(utf8Name);
  if (fileName && !fileName->empty()) return *fileName;
  return resources_->moduleName != nullptr ? resources_->moduleName : "";
}

void setModuleNameLookup(ModuleNameLookup lookup) {
  Library::get().setModuleNameLookup(std::move(lookup));
}

bool startLibrary(void* instance, const ResourceTable* resources, const char* /*commandLine*/) {
  return Library::get().start(instance, resources);
}

void stopLibrary() {
  Library::get().stop();
}

bool libraryStarted() {
  return Library::get().started();
}

void* instanceHandle() {
  return Library::get().instance();
}

const ResourceTable* resourceTable() {
  return Library::get().resources();
}

Application* application() {
  return Library::get().application();
}

std::string applicationCaption() {
  return Library::get().caption();
}

const DialogTemplate* ResourceTable::findDialog(int id) const {
  for (const DialogTemplate& dialog : dialogs)
    if (dialog.id == id) return &dialog;
  return nullptr;
}

}  // namespace ui
