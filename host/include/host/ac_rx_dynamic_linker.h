#pragma once

#include "host/ac_rx_object.h"
#include "host/host_export.h"

// The host's module loader, as modules see it.
class HOST_API AcRxDynamicLinker : public AcRxObject {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;

  // Allows the module identified by `appId` (the identifier passed with its
  // init message) to be unloaded on request. False for an unknown module.
  virtual bool unlockApplication(void* appId) const = 0;
};
