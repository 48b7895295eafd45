#include "cad/module_loader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cad/command_stack.h"
#include "cad/dynamic_linker.h"
#include "fresh_host.h"

namespace {

std::string modulePathFor(const std::string& name) {
  return std::string(TAVRIN_TEST_MODULE_DIR) + "/" + name + ".arx";
}

// The test module `name`, loaded; null (a test failure naming why) when it
// cannot be.
std::unique_ptr<cad::LoadedModule> load(const std::string& name) {
  auto loaded = cad::LoadedModule::load(modulePathFor(name));
  EXPECT_TRUE(loaded.isOk()) << loaded.message();
  return loaded.isOk() ? std::move(loaded).value() : nullptr;
}

std::string pointerText(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", pointer);
  return text;
}

// The lines the test modules printed, in order; host messages left out.
std::vector<std::string> moduleCalls(const std::string& transcript) {
  std::vector<std::string> calls;
  std::istringstream lines(transcript);
  for (std::string line; std::getline(lines, line);)
    if (line.starts_with("[")) calls.push_back(line);
  return calls;
}

class LoaderTest : public FreshHost {};

TEST_F(LoaderTest, LoadsAndUnloadsInTheHostsOrder) {
  auto module = load("sound");
  ASSERT_TRUE(module);
  const std::string instance = pointerText(module->instance());
  const std::string appId = pointerText(module->appId());
  EXPECT_NE(instance, appId);
  EXPECT_EQ(moduleCalls(transcript()), (std::vector<std::string>{
                                           "[sound] DllMain 1 " + instance,
                                           "[sound] _SetacrxPtp",
                                           "[sound] acrxGetApiVersion",
                                           "[sound] acrxEntryPoint 1 " + appId,
                                       }));
  EXPECT_TRUE(module->unlocked());
  EXPECT_EQ(module->baseName(), "sound");
  EXPECT_EQ(cad::moduleBaseName(module->instance()), "sound");
  EXPECT_EQ(cad::modulePath(module->instance()), module->path());
  EXPECT_NE(cad::moduleSymbol(module->instance(), "acrxEntryPoint"), nullptr);
  EXPECT_EQ(cad::moduleSymbol(module->instance(), "noSuchSymbol"), nullptr);
  EXPECT_TRUE(cad::commandStack().find("soundhello"));
  EXPECT_TRUE(cad::commandStack().find("SOUNDBONJOUR"));

  const void* handle = module->instance();
  cad::commandLine().clear();
  module.reset();
  EXPECT_EQ(moduleCalls(transcript()), (std::vector<std::string>{
                                           "[sound] acrxEntryPoint 2 " + appId,
                                           "[sound] DllMain 0 " + instance,
                                       }));
  EXPECT_TRUE(cad::commandStack().commands().empty());
  EXPECT_EQ(cad::moduleBaseName(handle), "");
  EXPECT_EQ(cad::moduleSymbol(handle, "acrxEntryPoint"), nullptr);
  EXPECT_TRUE(cad::dynamicLinker().modules().empty());
}

TEST_F(LoaderTest, ModuleLooksUpTheCommandStackClassOnce) {
  auto module = load("sound");
  ASSERT_TRUE(module);
  module.reset();
  EXPECT_EQ(cad::classDictionaryLookups(), 1);
}

TEST_F(LoaderTest, RefusesFaultyModulesAndUndoesWhatRan) {
  const struct {
    const char* module;
    std::vector<std::string> errorMentions;
    std::vector<std::string> calls;
  } cases[] = {
      {"old_version",
       {"old_version.arx", "851968", "917504"},
       {"DllMain 1", "_SetacrxPtp", "acrxGetApiVersion", "DllMain 0"}},
      {"no_entry_point", {"no_entry_point.arx", "\"acrxEntryPoint\""}, {}},
      {"refuses_attach", {"refuses_attach.arx", "process attach"}, {"DllMain 1"}},
      {"throws_at_init",
       {"throws_at_init.arx: its initialisation failed: it threw: no licence found"},
       {"DllMain 1", "_SetacrxPtp", "acrxGetApiVersion", "acrxEntryPoint 1", "acrxEntryPoint 2",
        "DllMain 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module);
    cad::resetHost();
    const auto refused = cad::LoadedModule::load(modulePathFor(c.module));
    EXPECT_FALSE(refused.isOk());
    const std::string& error = refused.message();
    for (const std::string& mention : c.errorMentions)
      EXPECT_NE(error.find(mention), std::string::npos) << error;
    std::vector<std::string> calls;
    for (const std::string& line : moduleCalls(transcript())) {
      // "[tag] call [pointer]" → "call", without the pointer.
      std::string call = line.substr(line.find(']') + 2);
      if (const auto space = call.find(" 0x"); space != std::string::npos) call.resize(space);
      calls.push_back(call);
    }
    EXPECT_EQ(calls, c.calls);
    EXPECT_TRUE(cad::dynamicLinker().modules().empty());
    EXPECT_TRUE(cad::commandStack().commands().empty());
  }
}

TEST_F(LoaderTest, UnloadableFilesAreClearErrors) {
  const struct {
    const char* label;
    std::string path;
    const char* mention;
  } cases[] = {
      {"missing file", "/nonexistent/tavrin.arx", "/nonexistent/tavrin.arx"},
      {"not a shared object", std::string(TAVRIN_TEST_MODULE_DIR) + "/../../CMakeCache.txt",
       "CMakeCache.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const auto refused = cad::LoadedModule::load(c.path);
    EXPECT_FALSE(refused.isOk());
    const std::string& error = refused.message();
    EXPECT_NE(error.find(c.mention), std::string::npos) << error;
  }
}

TEST_F(LoaderTest, SameModuleIsNotLoadedTwice) {
  auto module = load("sound");
  ASSERT_TRUE(module);
  const auto again = cad::LoadedModule::load(modulePathFor("sound"));
  EXPECT_FALSE(again.isOk());
  EXPECT_NE(again.message().find("loaded already"), std::string::npos) << again.message();
  EXPECT_EQ(cad::dynamicLinker().modules().size(), 1u);
}

TEST_F(LoaderTest, CommandsLeftBehindAreRemovedWithTheModule) {
  auto leaky = load("leaves_commands");
  ASSERT_TRUE(leaky);
  auto sound = load("sound");
  ASSERT_TRUE(sound);
  ASSERT_TRUE(cad::commandStack().find("leaves_commandshello"));
  leaky.reset();
  EXPECT_FALSE(cad::commandStack().find("leaves_commandshello"));
  EXPECT_TRUE(cad::commandStack().find("soundhello"));
  EXPECT_NE(transcript().find("module " + modulePathFor("leaves_commands") +
                              " left commands registered after unloading; removed: "
                              "leaves_commandshello"),
            std::string::npos)
      << transcript();
}

}  // namespace
