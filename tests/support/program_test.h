#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_run.h"

// A test that runs programs as a user runs them: a fresh folder of its own
// (named after the test and the process, removed with everything in it
// afterwards), files written into it, and shell command lines run with their
// standard output and error caught.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ =
        std::filesystem::temp_directory_path() / (std::string(test->test_suite_name()) + "_" +
                                                  std::to_string(getpid()) + "_" + test->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Writes `text` to `name` in the test's folder and returns its path.
  std::string write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // `program` and `arguments` as a shell command line, every word quoted.
  static std::string commandLine(const std::string& program,
                                 const std::vector<std::string>& arguments) {
    std::string command = quoted(program);
    for (const std::string& a : arguments) command += " " + quoted(a);
    return command;
  }

  // Runs the shell command line `command`, its standard output and error
  // caught in files of the test's folder.
  Outcome runShell(const std::string& command) {
    const std::string caught = command + " >" + quoted((folder_ / "out").string()) + " 2>" +
                               quoted((folder_ / "err").string());
    const int status = std::system(caught.c_str());
    Outcome result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(folder_ / "out");
    result.err = readFile(folder_ / "err");
    return result;
  }

  std::filesystem::path folder_;
};
