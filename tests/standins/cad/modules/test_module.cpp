// A small module for the loader tests. It does what a real module does at
// each entry point and prints a line for every call, so that a test can read
// the order of the calls on the command line. Built several times with
// different faults (see CMakeLists.txt):
//   MODULE_TAG                 name printed before every line and prefixed to
//                              the command names
//   MODULE_API_VERSION         what acrxGetApiVersion answers
//   MODULE_WITHOUT_ENTRY_POINT leaves out acrxEntryPoint
//   MODULE_REFUSES_ATTACH      the loader entry fails process attach
//   MODULE_LEAVES_COMMANDS     does not remove its group at unload

#include <stdexcept>

#include "host/ac_ed_command_stack.h"
#include "host/ac_rx_abort.h"
#include "host/ac_rx_dictionary.h"
#include "host/ac_rx_dynamic_linker.h"
#include "host/ads.h"
#include "host/module_entry.h"

#ifndef MODULE_API_VERSION
#define MODULE_API_VERSION 0xE0000
#endif

namespace {

constexpr const char* kTag = MODULE_TAG;

}  // namespace

MODULE_ENTRY int DllMain(void* instance, unsigned long reason, void*) {
  ads_printf("[%s] DllMain %lu %p\n", kTag, reason, instance);
#ifdef MODULE_REFUSES_ATTACH
  if (reason == kProcessAttach) return 0;
#endif
  return 1;
}

MODULE_ENTRY int _SetacrxPtp() {
  ads_printf("[%s] _SetacrxPtp\n", kTag);
  return 0;
}

MODULE_ENTRY int acrxGetApiVersion() {
  ads_printf("[%s] acrxGetApiVersion\n", kTag);
  return MODULE_API_VERSION;
}

#ifndef MODULE_WITHOUT_ENTRY_POINT
namespace {

constexpr const char* kGroup = MODULE_TAG "_GROUP";

AcRxClass* commandStackClass = nullptr;  // looked up once, as a real module does

AcEdCommandStack* commandStack() {
  if (commandStackClass == nullptr) {
    auto* classes = acrxClassTest<AcRxDictionary>(acrxSysRegistry()->at("ClassDictionary"));
    if (classes == nullptr) return nullptr;
    commandStackClass = static_cast<AcRxClass*>(classes->at("AcEdCommandStack"));
  }
  return static_cast<AcEdCommandStack*>(
      acrxClassTest(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"), commandStackClass));
}

void hello() {
  ads_printf("[%s] hello\n", kTag);
}

// Asks for a point and prints the result code and the point.
void point() {
  ads_point picked = {-1.0, -1.0, -1.0};
  // "请指定点:" (specify a point) in code page 936.
  const int result = ads_getpoint(nullptr, "\n\xC7\xEB\xD6\xB8\xB6\xA8\xB5\xE3:", picked);
  ads_printf("[%s] point %d %f,%f,%f\n", kTag, result, picked[X], picked[Y], picked[Z]);
}

void fail() {
  throw std::runtime_error("deliberate failure");
}

// "模块" (module) in code page 936.
void abortHost() {
  acrx_abort("[%s] \xC4\xA3\xBF\xE9 gives up %d", kTag, 7);
}

}  // namespace

MODULE_ENTRY AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
  ads_printf("[%s] acrxEntryPoint %d %p\n", kTag, static_cast<int>(message), appId);
  if (message == AcRx::kInitAppMsg) {
#ifdef MODULE_THROWS_AT_INIT
    throw std::runtime_error("no licence found");
#endif
    if (auto* linker = acrxClassTest<AcRxDynamicLinker>(acrxSysRegistry()->at("DynamicLinker")))
      linker->unlockApplication(appId);
    if (AcEdCommandStack* stack = commandStack()) {
      stack->addCommand(kGroup, MODULE_TAG "hello", MODULE_TAG "bonjour", ACRX_CMD::kModal, hello);
      stack->addCommand(kGroup, MODULE_TAG "point", MODULE_TAG "point", ACRX_CMD::kModal, point);
      stack->addCommand(kGroup, MODULE_TAG "fail", MODULE_TAG "fail", ACRX_CMD::kModal, fail);
      stack->addCommand(kGroup, MODULE_TAG "abort", MODULE_TAG "abort", ACRX_CMD::kModal,
                        abortHost);
    }
  } else if (message == AcRx::kUnloadAppMsg) {
#ifndef MODULE_LEAVES_COMMANDS
    if (AcEdCommandStack* stack = commandStack()) stack->removeGroup(kGroup);
#endif
  }
  return AcRx::kRetOK;
}
#endif
