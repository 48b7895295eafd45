#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cad/command_line.h"
#include "cad/host_state.h"
#include "cad/input_source.h"
#include "cad/registry.h"
#include "cad/script_input.h"

// A test that starts from a freshly started host and leaves it that way.
class FreshHost : public ::testing::Test {
 protected:
  void SetUp() override { cad::resetHost(); }
  void TearDown() override { cad::resetHost(); }

  // Makes `text` the active input, as the script "test.scr".
  static void useScript(std::string_view text) {
    cad::setInput(std::make_unique<cad::ScriptInput>("test.scr", text));
  }

  static const std::string& transcript() { return cad::commandLine().transcript(); }
};
