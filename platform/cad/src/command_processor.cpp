#include "cad/command_processor.h"

#include <exception>
#include <map>
#include <optional>
#include <utility>

#include "answer_text.h"
#include "cad/code_page.h"
#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/dynamic_linker.h"
#include "cad/input_source.h"
#include "text/cp936.h"

namespace cad {
namespace {

void say(const std::string& utf8) {
  commandLine().printUtf8(utf8);
}

void listCommands() {
  const auto& commands = commandStack().commands();
  if (commands.empty()) {
    say("No commands are registered.\n");
    return;
  }
  say("Registered commands (group: global name / local name):\n");
  for (const Command& c : commands)
    say("  " + cp936ToUtf8Lossy(c.group) + ": " + cp936ToUtf8Lossy(c.globalName) + " / " +
        cp936ToUtf8Lossy(c.localName) + "\n");
}

void listModules() {
  const auto& modules = dynamicLinker().modules();
  if (modules.empty()) {
    say("No modules are loaded.\n");
    return;
  }
  say("Loaded modules:\n");
  for (const ModuleRecord& m : modules)
    say("  " + m.path + (m.unlocked ? " (unlockable)" : " (locked)") + "\n");
}

void listDrawing() {
  const auto& entities = currentDatabase().entities();
  say("The drawing holds " + std::to_string(entities.size()) + " entities.\n");
  std::map<std::pair<std::string, std::string>, int> counts;
  for (const auto& entity : entities) ++counts[{entity->isA()->name(), entity->layer()}];
  for (const auto& [key, count] : counts)
    say("  " + std::to_string(count) + " " + key.first + " on layer " +
        cp936ToUtf8Lossy(key.second) + "\n");
}

std::string describeException() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception of unknown type";
  }
}

}  // namespace

void startNewLine() {
  const std::string& transcript = commandLine().transcript();
  if (!transcript.empty() && !transcript.ends_with('\n')) commandLine().printUtf8("\n");
}

CommandProcessor::CommandProcessor() {
  addHostCommand("commands", "lists the registered commands", listCommands);
  addHostCommand("modules", "lists the loaded modules", listModules);
  addHostCommand("drawing", "lists what the current drawing holds", listDrawing);
}

void CommandProcessor::addHostCommand(std::string name, std::string summary,
                                      std::function<void()> run) {
  hostCommands_.push_back(HostCommand{std::move(name), std::move(summary), std::move(run)});
}

bool CommandProcessor::runCommand(const std::string& name, SessionResult* result) {
  std::function<void()> run;
  for (const HostCommand& h : hostCommands_)
    if (text::cp936::equalIgnoringAsciiCase(h.name, name)) run = h.run;
  if (!run) {
    const std::optional<std::string> cp936 = utf8ToCp936(name);
    if (!cp936) return false;
    const std::optional<Command> command = commandStack().find(*cp936);
    if (!command) return false;
    run = command->function;
  }
  ++result->commandsRun;
  try {
    run();
  } catch (...) {
    ++result->commandErrors;
    startNewLine();
    say("Command " + name + " failed: " + describeException() + "\n");
  }
  return true;
}

SessionResult CommandProcessor::run() {
  SessionResult result;
  for (;;) {
    startNewLine();
    say("Command: ");
    const Answer answer = input().next();
    if (answer.kind == Answer::Kind::kEnd) break;
    if (answer.kind == Answer::Kind::kCancel) {
      startNewLine();
      say("*Cancel*\n");
      continue;
    }
    const std::string name(detail::trimBlanks(answer.text));
    if (name.empty()) continue;
    if (!runCommand(name, &result)) input().reject(answer, "unknown command \"" + name + "\"");
  }
  startNewLine();
  result.inputFailed = input().failed();
  return result;
}

}  // namespace cad
