#include "cad/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cad/command_stack.h"
#include "cad/dynamic_linker.h"
#include "fresh_host.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_rx_dictionary.h"
#include "host/ac_rx_dynamic_linker.h"

namespace {

class RegistryTest : public FreshHost {};

TEST_F(RegistryTest, HoldsTheThreeHostEntries) {
  AcRxDictionary* registry = acrxSysRegistry();
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(acrxClassTest<AcRxDynamicLinker>(registry->at("DynamicLinker")), &cad::dynamicLinker());
  EXPECT_EQ(registry->at("ACAD_REGISTERED_COMMANDS"), &cad::commandStack());
  EXPECT_NE(acrxClassTest<AcRxDictionary>(registry->at("ClassDictionary")), nullptr);
  EXPECT_EQ(registry->at("dynamiclinker"), nullptr);  // keys are exact
  EXPECT_EQ(registry->at("Nothing"), nullptr);
  EXPECT_EQ(registry->at(nullptr), nullptr);
}

TEST_F(RegistryTest, ClassDictionaryMapsNamesToTheHostsDescriptors) {
  auto* classes = acrxClassTest<AcRxDictionary>(acrxSysRegistry()->at("ClassDictionary"));
  ASSERT_NE(classes, nullptr);
  const struct {
    const char* name;
    AcRxClass* descriptor;
  } cases[] = {
      {"AcRxObject", AcRxObject::desc()},
      {"AcRxClass", AcRxClass::desc()},
      {"AcRxDictionary", AcRxDictionary::desc()},
      {"AcRxDynamicLinker", AcRxDynamicLinker::desc()},
      {"AcEdCommandStack", cad::commandStackClass()},
      {"AcDbLine", AcDbLine::desc()},
      {"AcDbArc", AcDbArc::desc()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(classes->at(c.name), c.descriptor);
    EXPECT_STREQ(c.descriptor->name(), c.name);
    EXPECT_TRUE(c.descriptor->isDerivedFrom(AcRxObject::desc()));
  }
  EXPECT_EQ(classes->at("AcEdCommandStackX"), nullptr);
  const auto names = cad::registeredClassNames();
  for (const char* name : {"AcDbObject", "AcDbEntity", "AcDbCurve"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

TEST_F(RegistryTest, CountsClassDictionaryLookupsOnly) {
  AcRxDictionary* registry = acrxSysRegistry();
  auto* classes = static_cast<AcRxDictionary*>(registry->at("ClassDictionary"));
  EXPECT_EQ(cad::classDictionaryLookups(), 0);
  classes->at("AcEdCommandStack");
  classes->at("Unknown");
  registry->at("DynamicLinker");
  EXPECT_EQ(cad::classDictionaryLookups(), 2);
  cad::resetClassDictionaryLookups();
  EXPECT_EQ(cad::classDictionaryLookups(), 0);
}

TEST_F(RegistryTest, LinkerUnlocksOnlyKnownApplications) {
  cad::DynamicLinker& linker = cad::dynamicLinker();
  int instance = 0;
  char appId = 0;
  linker.addModule(cad::ModuleRecord{"/m/x.arx", &instance, &appId, nullptr, false});
  EXPECT_FALSE(linker.unlockApplication(nullptr));
  EXPECT_FALSE(linker.unlockApplication(&instance));
  EXPECT_FALSE(linker.findByAppId(&appId)->unlocked);
  EXPECT_TRUE(linker.unlockApplication(&appId));
  EXPECT_TRUE(linker.findByInstance(&instance)->unlocked);
  linker.removeModule(&instance);
  EXPECT_EQ(linker.findByPath("/m/x.arx"), nullptr);
  EXPECT_FALSE(linker.unlockApplication(&appId));
}

}  // namespace
