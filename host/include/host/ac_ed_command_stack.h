#pragma once

#include "host/ac_rx_object.h"
#include "host/host_export.h"
#include "host/result_codes.h"

typedef void (*AcRxFunctionPtr)();

// Command flags.
namespace ACRX_CMD {
constexpr int kModal = 0;
}

// The host's registered commands, grouped by the module's group name. Found in
// the system registry under "ACAD_REGISTERED_COMMANDS"; its descriptor is the
// class "AcEdCommandStack" of the registry's "ClassDictionary".
class HOST_API AcEdCommandStack : public AcRxObject {
 public:
  AcRxClass* isA() const override;

  // Registers `function` as a command of `group`, found by `globalName` or
  // `localName` (case-insensitive). eOk; eInvalidInput for null or empty
  // names or a null function; eNotApplicable when a command of that name
  // already exists in another group (one in the same group is replaced).
  virtual Acad::ErrorStatus addCommand(const char* group, const char* globalName,
                                       const char* localName, int flags,
                                       AcRxFunctionPtr function) = 0;
  // Removes every command of `group`. eOk, or eKeyNotFound for an unknown group.
  virtual Acad::ErrorStatus removeGroup(const char* group) = 0;
};
