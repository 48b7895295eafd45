#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace arguments {

// A program's command-line arguments, taken one at a time the way every
// program of the project reads them: an option's value is the argument that
// follows it.
class ArgumentList {
 public:
  // `argv` holds `argc` arguments, the program's own name first; it must
  // outlive the list.
  ArgumentList(int argc, char** argv) : argc_(argc), argv_(argv) {}

  // The next argument, or none when every argument was taken.
  std::optional<std::string> next() {
    if (index_ >= argc_) return std::nullopt;
    return std::string(argv_[index_++]);
  }
  // The value of the option just taken; none when the option came last.
  std::optional<std::string> value() { return next(); }

  static bool isHelp(std::string_view argument) { return argument == "--help" || argument == "-h"; }

 private:
  int argc_;
  char** argv_;
  int index_ = 1;
};

}  // namespace arguments
