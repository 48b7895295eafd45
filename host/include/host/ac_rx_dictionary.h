#pragma once

#include "host/ac_rx_object.h"
#include "host/host_export.h"

// A keyed collection of run-time objects, owned by the host.
class HOST_API AcRxDictionary : public AcRxObject {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;

  // Entry under `key` (exact, case-sensitive), or null. The entry stays owned
  // by the dictionary.
  virtual AcRxObject* at(const char* key) const = 0;
};

// The host's system registry. Never null while the host runs. Holds
// "DynamicLinker", "ACAD_REGISTERED_COMMANDS" and "ClassDictionary".
extern "C" HOST_API AcRxDictionary* acrxSysRegistry();
