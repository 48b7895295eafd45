#include "cad/dynamic_linker.h"

#include <algorithm>
#include <utility>

#include "host.h"

AcRxClass* AcRxDynamicLinker::desc() {
  static AcRxClass descriptor("AcRxDynamicLinker", AcRxObject::desc());
  return &descriptor;
}

AcRxClass* AcRxDynamicLinker::isA() const {
  return AcRxDynamicLinker::desc();
}

namespace cad {

bool DynamicLinker::unlockApplication(void* appId) const {
  if (appId == nullptr) return false;
  for (ModuleRecord& record : modules_) {
    if (record.appId == appId) {
      record.unlocked = true;
      return true;
    }
  }
  return false;
}

void DynamicLinker::addModule(ModuleRecord record) {
  modules_.push_back(std::move(record));
}

void DynamicLinker::removeModule(const void* instance) {
  std::erase_if(modules_, [&](const ModuleRecord& r) { return r.instance == instance; });
}

const ModuleRecord* DynamicLinker::findByInstance(const void* instance) const {
  if (instance == nullptr) return nullptr;
  for (const ModuleRecord& r : modules_)
    if (r.instance == instance) return &r;
  return nullptr;
}

const ModuleRecord* DynamicLinker::findByAppId(const void* appId) const {
  if (appId == nullptr) return nullptr;
  for (const ModuleRecord& r : modules_)
    if (r.appId == appId) return &r;
  return nullptr;
}

const ModuleRecord* DynamicLinker::findByPath(const std::string& path) const {
  for (const ModuleRecord& r : modules_)
    if (r.path == path) return &r;
  return nullptr;
}

DynamicLinker& dynamicLinker() {
  return detail::host().dynamicLinker();
}

}  // namespace cad
