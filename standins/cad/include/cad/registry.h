#pragma once

#include <string>
#include <vector>

#include "host/ac_rx_dictionary.h"

// The host side of the system registry (acrxSysRegistry): "DynamicLinker"
// (cad::dynamicLinker()), "ACAD_REGISTERED_COMMANDS" (cad::commandStack()) and
// "ClassDictionary", which maps class names to the host's class descriptors.
namespace cad {

// Descriptor of "AcEdCommandStack", the one the class dictionary holds.
AcRxClass* commandStackClass();

// Names of the classes in the class dictionary, sorted.
std::vector<std::string> registeredClassNames();

// Number of look-ups made in the class dictionary (calls of its at()) since
// the host started or the counter was last reset. Lets tests check that a
// module caches what it looked up.
long classDictionaryLookups();
void resetClassDictionaryLookups();

}  // namespace cad
