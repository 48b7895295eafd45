#include "command_registration.h"

#include "host/ac_rx_dictionary.h"
#include "module_runtime.h"

namespace tavrin {

namespace {

AcRxClass* commandStackClass() {
  AcRxClass*& cached = moduleRuntime().commandStackClass;
  if (cached == nullptr) {
    AcRxDictionary* registry = acrxSysRegistry();
    if (registry == nullptr) return nullptr;
    auto* classes = acrxClassTest<AcRxDictionary>(registry->at("ClassDictionary"));
    if (classes == nullptr) return nullptr;
    cached = acrxClassTest<AcRxClass>(classes->at("AcEdCommandStack"));
  }
  return cached;
}

}  // namespace

AcEdCommandStack* commandStack() {
  AcRxDictionary* registry = acrxSysRegistry();
  if (registry == nullptr) return nullptr;
  AcRxObject* entry = registry->at("ACAD_REGISTERED_COMMANDS");
  if (entry == nullptr) return nullptr;
  return static_cast<AcEdCommandStack*>(acrxClassTest(entry, commandStackClass()));
}

}  // namespace tavrin
