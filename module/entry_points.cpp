// The module's four exports: the loader entry and the three functions the
// host calls.
#include "acadtomn_command.h"
#include "command_registration.h"
#include "host/ac_rx_dictionary.h"
#include "host/ac_rx_dynamic_linker.h"
#include "host/ads.h"
#include "host/module_entry.h"
#include "module_runtime.h"
#include "resources/module_resources.h"
#include "resources/texts.h"
#include "ui/library.h"

namespace tavrin {
namespace {

void initApplication(void* appId) {
  if (AcRxDictionary* registry = acrxSysRegistry()) {
    if (auto* linker = acrxClassTest<AcRxDynamicLinker>(registry->at("DynamicLinker")))
      linker->unlockApplication(appId);
  }
  ui::startLibrary(moduleRuntime().instance(), &resources::moduleResources(), "");
  if (AcEdCommandStack* stack = commandStack())
    stack->addCommand(kCommandGroup, kCommandName, kCommandName, kCommandFlags, acadtomn);
  ads_printf("%s", resources::kStartupHint);
}

void unloadApplication() {
  if (AcEdCommandStack* stack = commandStack()) stack->removeGroup(kCommandGroup);
  ui::stopLibrary();
}

}  // namespace
}  // namespace tavrin

MODULE_ENTRY int DllMain(void* instance, unsigned long reason, void* /*reserved*/) {
  switch (reason) {
    case kProcessAttach:
      tavrin::moduleRuntime().attach(instance);
      return 1;
    case kProcessDetach:
      return tavrin::moduleRuntime().terminate() ? 1 : 0;
    default:
      return 1;
  }
}

MODULE_ENTRY int _SetacrxPtp() {
  tavrin::moduleRuntime().start();
  return 0;
}

MODULE_ENTRY int acrxGetApiVersion() {
  return kHostApiVersion;
}

MODULE_ENTRY AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
  switch (message) {
    case AcRx::kInitAppMsg:
      tavrin::initApplication(appId);
      break;
    case AcRx::kUnloadAppMsg:
      tavrin::unloadApplication();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}
