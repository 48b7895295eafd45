#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/ac_rx_dictionary.h"

// The system registry (acrxSysRegistry) and its class dictionary (internal to
// the host library).
namespace cad {

class CommandStack;
class DynamicLinker;

namespace detail {

// A fixed dictionary: the host fills it once; modules only read it. Entries
// are not owned.
class FixedDictionary : public AcRxDictionary {
 public:
  explicit FixedDictionary(std::map<std::string, AcRxObject*> entries)
      : entries_(std::move(entries)) {}

  AcRxObject* at(const char* key) const override;
  std::vector<std::string> keys() const;

 private:
  std::map<std::string, AcRxObject*> entries_;
};

// Maps class names to the host's class descriptors and counts its look-ups in
// `*lookups`, which must outlive it.
class ClassDictionary final : public FixedDictionary {
 public:
  explicit ClassDictionary(long* lookups);
  AcRxObject* at(const char* key) const override;

 private:
  long* lookups_;
};

// "DynamicLinker", "ACAD_REGISTERED_COMMANDS" and "ClassDictionary". The
// linker, the stack and the counter must outlive it.
struct SystemRegistry {
  SystemRegistry(DynamicLinker& linker, CommandStack& commands, long* classLookups);

  ClassDictionary classes;
  FixedDictionary root;
};

}  // namespace detail
}  // namespace cad
