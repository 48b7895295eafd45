#include "cad/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "cad/command_stack.h"
#include "cad/dynamic_linker.h"
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
namespace {

// A fixed dictionary: the host fills it once; modules only read it.
class FixedDictionary : public AcRxDictionary {
 public:
  explicit FixedDictionary(std::map<std::string, AcRxObject*> entries)
      : entries_(std::move(entries)) {}

  AcRxObject* at(const char* key) const override {
    if (key == nullptr) return nullptr;
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : found->second;
  }

  std::vector<std::string> keys() const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries_) names.push_back(name);
    return names;
  }

 private:
  std::map<std::string, AcRxObject*> entries_;
};

long& lookupCounter() {
  static long count = 0;
  return count;
}

class ClassDictionary final : public FixedDictionary {
 public:
  using FixedDictionary::FixedDictionary;

  AcRxObject* at(const char* key) const override {
    ++lookupCounter();
    return FixedDictionary::at(key);
  }
};

ClassDictionary& classDictionary() {
  static ClassDictionary dictionary([] {
    std::map<std::string, AcRxObject*> classes;
    for (AcRxClass* c :
         {AcRxObject::desc(), AcRxClass::desc(), AcRxDictionary::desc(), AcRxDynamicLinker::desc(),
          commandStackClass(), AcDbObject::desc(), AcDbEntity::desc(), AcDbCurve::desc(),
          AcDbLine::desc(), AcDbArc::desc(), AcDbCircle::desc(), AcDbPolyline::desc(),
          AcDb2dPolyline::desc(), AcDbText::desc(), AcDbMText::desc(), AcDbBlockReference::desc(),
          AcDbPoint::desc(), AcDbGenericEntity::desc()})
      classes.emplace(c->name(), c);
    return classes;
  }());
  return dictionary;
}

}  // namespace

AcRxClass* commandStackClass() {
  static AcRxClass descriptor("AcEdCommandStack", AcRxObject::desc());
  return &descriptor;
}

std::vector<std::string> registeredClassNames() {
  return classDictionary().keys();
}

long classDictionaryLookups() {
  return lookupCounter();
}

void resetClassDictionaryLookups() {
  lookupCounter() = 0;
}

}  // namespace cad

AcRxDictionary* acrxSysRegistry() {
  static cad::FixedDictionary registry({
      {"DynamicLinker", &cad::dynamicLinker()},
      {"ACAD_REGISTERED_COMMANDS", &cad::commandStack()},
      {"ClassDictionary", &cad::classDictionary()},
  });
  return &registry;
}
