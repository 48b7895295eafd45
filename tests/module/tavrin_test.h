#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/host_state.h"
#include "cad/input_source.h"
#include "cad/module_loader.h"
#include "cad/registry.h"
#include "cad/script_input.h"
#include "ui/module_names.h"

// A test of the real tavrin.arx in a fresh host: empty command line, no
// commands, no input, an empty drawing and a zero class-dictionary counter,
// before and after.
class TavrinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cad::resetHost();
    ui::setModuleNameLookup(cad::moduleBaseName);
  }
  void TearDown() override {
    module.reset();
    cad::resetHost();
  }

  // Loads the module as the host loads it.
  void loadModule() {
    std::string error;
    module = cad::LoadedModule::load(TAVRIN_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
  }

  // Runs "acadtomn" with `script` answering everything it asks.
  static void runCommand(std::string_view script) {
    cad::setInput(std::make_unique<cad::ScriptInput>("test.scr", script));
    cad::SessionResult result;
    ASSERT_TRUE(cad::CommandProcessor().runCommand("acadtomn", &result));
    EXPECT_EQ(result.commandErrors, 0) << transcript();
    EXPECT_EQ(cad::currentDatabase().openObjectCount(), 0) << "objects left open";
  }

  static const std::string& transcript() { return cad::commandLine().transcript(); }

  std::unique_ptr<cad::LoadedModule> module;
};
