#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cad {

// How a session at the command prompt ended.
struct SessionResult {
  int commandsRun = 0;       // module and host commands called
  int commandErrors = 0;     // commands that ended with an exception
  bool inputFailed = false;  // the input source rejected an answer (a script error)

  bool ok() const { return commandErrors == 0 && !inputFailed; }
};

// The command prompt: prints "Command: ", reads a line from the active input
// source and runs the command it names, until the input ends. A name is looked
// up among the host's own commands first, then in the command stack (global
// or local name, any ASCII case). An empty line does nothing in a script and
// repeats the last command at a terminal; a cancel or interrupt prints
// "*Cancel*", and a second interrupt in a row ends the session, as do the
// host commands "quit" and "exit"; at a terminal Space ends a command name as
// Enter does; an unknown
// name is rejected with the nearest command name suggested (a script stops
// there with an error naming the line). A command that throws is reported and
// the prompt comes back.
class CommandProcessor {
 public:
  // With the host's listing commands: "commands" (registered commands by
  // group), "modules" (loaded modules), "drawing" (what the current drawing
  // holds) and "help" or "?" (the commands and how to answer each prompt).
  CommandProcessor();

  // Adds a host command. `name` is ASCII; `summary` is one line for listings.
  void addHostCommand(std::string name, std::string summary, std::function<void()> run);
  // What a module's command does, in one line (UTF-8), for help; `name` is
  // its global name as typed (any ASCII case).
  void describeCommand(std::string name, std::string summary);

  // Runs the prompt loop until the input source answers kEnd.
  SessionResult run();

  // Runs the command named `name` (UTF-8) as if typed at the prompt. False
  // when no command has that name.
  bool runCommand(const std::string& name, SessionResult* result);

 private:
  void listHelp() const;
  // The command name closest to `typed` when one is close enough.
  std::optional<std::string> nearestName(std::string_view typed) const;

  struct HostCommand {
    std::string name;
    std::string summary;
    std::function<void()> run;
  };
  std::vector<HostCommand> hostCommands_;
  std::vector<std::pair<std::string, std::string>> descriptions_;  // name, summary
  bool quit_ = false;
};

// Starts a new line on the command line unless the last text printed ended
// one.
void startNewLine();

}  // namespace cad
