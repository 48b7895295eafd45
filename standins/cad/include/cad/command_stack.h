#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ac_ed_command_stack.h"

namespace cad {

// One registered command. Names and group are code page 936, as the module
// gave them.
struct Command {
  std::string group;
  std::string globalName;
  std::string localName;
  int flags = 0;
  AcRxFunctionPtr function = nullptr;
};

// The host's command stack, the registry's "ACAD_REGISTERED_COMMANDS". Names
// and groups compare without regard to ASCII case; the second byte of a
// two-byte code page 936 character is never case-folded.
class CommandStack final : public AcEdCommandStack {
 public:
  Acad::ErrorStatus addCommand(const char* group, const char* globalName, const char* localName,
                               int flags, AcRxFunctionPtr function) override;
  Acad::ErrorStatus removeGroup(const char* group) override;

  // The command whose global or local name is `name` (code page 936), or
  // nothing. A copy, so that it stays valid while the command runs even when
  // the command changes the stack.
  std::optional<Command> find(std::string_view name) const;

  // Every command, in the order registered.
  const std::vector<Command>& commands() const { return commands_; }

  // Removes the commands for which `matches` is true and returns them.
  std::vector<Command> removeIf(const std::function<bool(const Command&)>& matches);

  // Forgets every command (for tests that start from an empty host).
  void clear() { commands_.clear(); }

 private:
  std::vector<Command> commands_;
};

// The host's command stack.
CommandStack& commandStack();

}  // namespace cad
