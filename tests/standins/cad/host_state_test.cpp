#include "cad/host_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/dynamic_linker.h"
#include "cad/file_write_failures.h"
#include "cad/input_source.h"
#include "cad/registry.h"
#include "cad/script_input.h"
#include "cad/selection_sets.h"
#include "fresh_host.h"
#include "host/ac_db_line.h"
#include "host/ac_rx_dictionary.h"
#include "host/file_system.h"

namespace {

void doNothing() {}

// One part of the host: how a session leaves it changed, and whether it is as
// a freshly started host has it.
struct Part {
  const char* name;
  std::function<void()> dirty;
  std::function<bool()> fresh;
};

class HostStateTest : public FreshHost {
 protected:
  std::ostringstream terminal;
  int instance = 0;
  char appId = 0;
};

TEST_F(HostStateTest, ResetGivesEveryPartBackAsFreshlyStarted) {
  const Part parts[] = {
      {"transcript", [] { cad::commandLine().printUtf8("said\n"); },
       [] { return cad::commandLine().transcript().empty(); }},
      {"terminal", [&] { cad::commandLine().setTerminal(&terminal); },
       [] { return cad::commandLine().terminal() == nullptr; }},
      {"commands", [] { cad::commandStack().addCommand("G", "cmd", "cmd", 0, doNothing); },
       [] { return cad::commandStack().commands().empty(); }},
      {"selection sets", [] { cad::selectionSets().add({AcDbObjectId(7)}); },
       [] {
         return cad::selectionSets().size() == 0 && cad::selectionSets().lastSelection().empty();
       }},
      {"input", [] { useScript("line\n"); },
       [] { return cad::input().next().kind == cad::Answer::Kind::kEnd; }},
      {"current drawing", [] { cad::currentDatabase().append(std::make_unique<AcDbLine>()); },
       [] { return cad::currentDatabase().entities().empty(); }},
      {"class-dictionary look-ups",
       [] {
         static_cast<AcRxDictionary*>(acrxSysRegistry()->at("ClassDictionary"))->at("AcDbLine");
       },
       [] { return cad::classDictionaryLookups() == 0; }},
      {"failed writes",
       [] {
         std::unique_ptr<WritableFile> file;
         hostFileSystem().newWritableFile("/no such folder/file", &file);
       },
       [] { return cad::failedFileWrites() == 0; }},
  };
  for (const Part& part : parts) EXPECT_TRUE(part.fresh()) << part.name << " before";
  for (const Part& part : parts) part.dirty();
  for (const Part& part : parts) EXPECT_FALSE(part.fresh()) << part.name << " dirtied";
  cad::resetHost();
  for (const Part& part : parts) EXPECT_TRUE(part.fresh()) << part.name << " after the reset";
}

TEST_F(HostStateTest, ResetKeepsThePartsInPlaceAndTheLoadedModules) {
  // Modules and the registry hold these addresses across a reset.
  const void* const places[] = {&cad::commandLine(), &cad::commandStack(), &cad::selectionSets(),
                                &cad::dynamicLinker(), acrxSysRegistry()};
  cad::dynamicLinker().addModule(cad::ModuleRecord{"/m/x.arx", &instance, &appId, nullptr, false});
  cad::resetHost();
  const void* const after[] = {&cad::commandLine(), &cad::commandStack(), &cad::selectionSets(),
                               &cad::dynamicLinker(), acrxSysRegistry()};
  for (std::size_t i = 0; i < std::size(places); ++i) EXPECT_EQ(after[i], places[i]) << i;
  EXPECT_EQ(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"), &cad::commandStack());
  EXPECT_NE(cad::dynamicLinker().findByInstance(&instance), nullptr)
      << "a module still loaded keeps its record";
  cad::dynamicLinker().removeModule(&instance);
}

}  // namespace
