#include "cad/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "cad/command_stack.h"
#include "cad/dynamic_linker.h"
#include "host.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_line.h"
#include "host/ac_db_object.h"
#include "host/ac_db_other_entities.h"

AcRxClass* AcRxDictionary::desc() {
  static AcRxClass descriptor("AcRxDictionary", AcRxObject::desc());
  return &descriptor;
}

AcRxClass* AcRxDictionary::isA() const {
  return AcRxDictionary::desc();
}

namespace cad {
namespace detail {

AcRxObject* FixedDictionary::at(const char* key) const {
  if (key == nullptr) return nullptr;
  const auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : found->second;
}

std::vector<std::string> FixedDictionary::keys() const {
  std::vector<std::string> names;
  for (const auto& [name, entry] : entries_) names.push_back(name);
  return names;
}

ClassDictionary::ClassDictionary(long* lookups)
    : FixedDictionary([] {
        std::map<std::string, AcRxObject*> classes;
        for (AcRxClass* c :
             {AcRxObject::desc(), AcRxClass::desc(), AcRxDictionary::desc(),
              AcRxDynamicLinker::desc(), commandStackClass(), AcDbObject::desc(),
              AcDbEntity::desc(), AcDbCurve::desc(), AcDbLine::desc(), AcDbArc::desc(),
              AcDbCircle::desc(), AcDbPolyline::desc(), AcDb2dPolyline::desc(), AcDbText::desc(),
              AcDbMText::desc(), AcDbBlockReference::desc(), AcDbPoint::desc(),
              AcDbGenericEntity::desc()})
          classes.emplace(c->name(), c);
        return classes;
      }()),
      lookups_(lookups) {}

AcRxObject* ClassDictionary::at(const char* key) const {
  ++*lookups_;
  return FixedDictionary::at(key);
}

SystemRegistry::SystemRegistry(DynamicLinker& linker, CommandStack& commands, long* classLookups)
    : classes(classLookups),
      root({
          {"DynamicLinker", &linker},
          {"ACAD_REGISTERED_COMMANDS", &commands},
          {"ClassDictionary", &classes},
      }) {}

}  // namespace detail

AcRxClass* commandStackClass() {
  static AcRxClass descriptor("AcEdCommandStack", AcRxObject::desc());
  return &descriptor;
}

std::vector<std::string> registeredClassNames() {
  return detail::host().registry().classes.keys();
}

long classDictionaryLookups() {
  return detail::host().classDictionaryLookups();
}

void resetClassDictionaryLookups() {
  detail::host().classDictionaryLookups() = 0;
}

}  // namespace cad

AcRxDictionary* acrxSysRegistry() {
  return &cad::detail::host().registry().root;
}
