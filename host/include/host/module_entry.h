#pragma once

// What a module exports to the host's loader, and the codes passed to it.
// A module is a shared object; the loader resolves these four by name.

namespace AcRx {
enum AppMsgCode : int {
  kNullMsg = 0,
  kInitAppMsg = 1,    // initialise the application
  kUnloadAppMsg = 2,  // unload the application
};
enum AppRetCode : int { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// Reasons passed to the loader entry.
constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;
constexpr unsigned long kThreadAttach = 2;
constexpr unsigned long kThreadDetach = 3;

// The interface version a module must report: 14 in the upper 16 bits.
constexpr int kHostApiVersion = 0xE0000;

using DllMainFunction = int (*)(void* instance, unsigned long reason, void* reserved);
using SetacrxPtpFunction = int (*)();
using AcrxGetApiVersionFunction = int (*)();
using AcrxEntryPointFunction = AcRx::AppRetCode (*)(AcRx::AppMsgCode message, void* appId);

#define MODULE_ENTRY extern "C" __attribute__((visibility("default")))
