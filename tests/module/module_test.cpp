// The real tavrin.arx, loaded the way the host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/module_loader.h"
#include "cad/registry.h"
#include "cad/script_input.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "host/module_entry.h"
#include "tavrin_test.h"

namespace {

class ModuleTest : public TavrinTest {
 protected:
  void load() { loadModule(); }
  static bool registered() { return cad::commandStack().find("acadtomn").has_value(); }
};

TEST_F(ModuleTest, LoadingRegistersTheCommandInItsGroupAndPrintsTheHint) {
  load();
  auto command = cad::commandStack().find("ACADTOMN");  // any case
  ASSERT_TRUE(command.has_value());
  EXPECT_EQ(command->group, "TAVRIN");
  EXPECT_EQ(command->globalName, "acadtomn");
  EXPECT_EQ(command->localName, "acadtomn");
  EXPECT_EQ(command->flags, 0);
  EXPECT_NE(transcript().find("\nType \"AcadToMN\" to execute\n"), std::string::npos);
  EXPECT_TRUE(module->unlocked());
}

TEST_F(ModuleTest, TheCommandStackClassIsLookedUpOnceForLoadAndUnload) {
  load();
  EXPECT_EQ(cad::classDictionaryLookups(), 1);
  module.reset();
  EXPECT_EQ(cad::classDictionaryLookups(), 1);
  EXPECT_FALSE(registered());
}

TEST_F(ModuleTest, UnloadingRemovesTheWholeGroup) {
  load();
  // Another command of the same group, as a later version might add.
  cad::commandStack().addCommand("TAVRIN", "other", "other", 0, [] {});
  cad::commandStack().addCommand("ELSEWHERE", "keep", "keep", 0, [] {});
  auto entry = reinterpret_cast<AcrxEntryPointFunction>(
      cad::moduleSymbol(module->instance(), "acrxEntryPoint"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry(AcRx::kUnloadAppMsg, module->appId()), AcRx::kRetOK);
  EXPECT_FALSE(registered());
  EXPECT_FALSE(cad::commandStack().find("other").has_value());
  EXPECT_TRUE(cad::commandStack().find("keep").has_value());
  // Put the command back, as the host expects the module registered until it
  // unloads it.
  EXPECT_EQ(entry(AcRx::kInitAppMsg, module->appId()), AcRx::kRetOK);
  EXPECT_TRUE(registered());
}

TEST_F(ModuleTest, OtherMessagesChangeNothingAndAnswerZero) {
  load();
  auto entry = reinterpret_cast<AcrxEntryPointFunction>(
      cad::moduleSymbol(module->instance(), "acrxEntryPoint"));
  ASSERT_NE(entry, nullptr);
  const std::string before = transcript();
  const auto commands = cad::commandStack().commands().size();
  for (int message : {0, 3, 7, 42, -1}) {
    EXPECT_EQ(entry(static_cast<AcRx::AppMsgCode>(message), module->appId()), 0) << message;
  }
  EXPECT_EQ(transcript(), before);
  EXPECT_EQ(cad::commandStack().commands().size(), commands);
  EXPECT_EQ(cad::classDictionaryLookups(), 1);
}

TEST_F(ModuleTest, VersionAnswersBeforeStartAndDetachWithoutStartFails) {
  // Straight through the dynamic loader, without the host's sequence.
  void* handle = dlopen(TAVRIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto version = reinterpret_cast<AcrxGetApiVersionFunction>(dlsym(handle, "acrxGetApiVersion"));
  auto dllMain = reinterpret_cast<DllMainFunction>(dlsym(handle, "DllMain"));
  ASSERT_NE(version, nullptr);
  ASSERT_NE(dllMain, nullptr);
  EXPECT_EQ(version(), 917504);
  int instance = 0;
  EXPECT_EQ(dllMain(&instance, kProcessAttach, nullptr), 1);
  EXPECT_EQ(dllMain(&instance, kThreadAttach, nullptr), 1);
  EXPECT_EQ(dllMain(&instance, kThreadDetach, nullptr), 1);
  EXPECT_EQ(dllMain(&instance, kProcessDetach, nullptr), 0) << "never started";
  auto start = reinterpret_cast<SetacrxPtpFunction>(dlsym(handle, "_SetacrxPtp"));
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start(), 0);
  EXPECT_EQ(dllMain(&instance, kProcessDetach, nullptr), 1);
  dlclose(handle);
}

TEST_F(ModuleTest, CancellingTheBasePointPrintsItsMessageAndAsksNothingMore) {
  load();
  cad::commandLine().clear();
  runCommand("*cancel*\nall\n\n");
  EXPECT_NE(transcript().find("\n选择基准点："), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("\n取消选点!"), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("选择需转化的线"), std::string::npos) << transcript();
}

TEST_F(ModuleTest, AnEmptySelectionPrintsTheFailureMessage) {
  load();
  cad::currentDatabase().append(
      std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  cad::commandLine().clear();
  runCommand("0,0\n\n");
  EXPECT_NE(transcript().find("\n选择需转化的线(LINE)和弧(ARC):\n"), std::string::npos)
      << transcript();
  EXPECT_NE(transcript().find("\n选择实体失败!"), std::string::npos) << transcript();
}

TEST_F(ModuleTest, TheCommandLeavesNoObjectOpen) {
  load();
  cad::Database& db = cad::currentDatabase();
  db.append(std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(10000, 0, 0)));
  db.append(std::make_unique<AcDbLine>(AcGePoint3d(5000, -3000, 0), AcGePoint3d(5000, 3000, 0)));
  db.append(std::make_unique<AcDbArc>(AcGePoint3d(0, 0, 0), 4000.0, 0.0, 3.0));
  db.append(std::make_unique<AcDbCircle>());
  runCommand("0,0\nall\n\n");
  EXPECT_EQ(db.openObjectCount(), 0);
  EXPECT_EQ(transcript().find("\n选择实体失败!"), std::string::npos) << transcript();
}

}  // namespace
