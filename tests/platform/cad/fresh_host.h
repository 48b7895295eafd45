#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/input_source.h"
#include "cad/registry.h"
#include "cad/script_input.h"

// A test that starts from a host with an empty command line, no commands, no
// input and a zero class-dictionary counter, and leaves it that way.
class FreshHost : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }

  static void reset() {
    cad::commandLine().clear();
    cad::commandStack().clear();
    cad::setInput(nullptr);
    cad::resetClassDictionaryLookups();
  }

  // Makes `text` the active input, as the script "test.scr".
  static void useScript(std::string_view text) {
    cad::setInput(std::make_unique<cad::ScriptInput>("test.scr", text));
  }

  static const std::string& transcript() { return cad::commandLine().transcript(); }
};
