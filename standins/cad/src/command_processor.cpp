#include "cad/command_processor.h"

#include <algorithm>
#include <exception>
#include <map>
#include <optional>
#include <utility>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/dynamic_linker.h"
#include "cad/input_source.h"
#include "cad/typed_forms.h"
#include "text/code_page.h"
#include "text/cp936.h"
#include "text/trim.h"

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
    say("  " + text::cp936ToUtf8Lossy(c.group) + ": " + text::cp936ToUtf8Lossy(c.globalName) +
        " / " + text::cp936ToUtf8Lossy(c.localName) + "\n");
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
  for (const auto& entity : entities)
    ++counts[{entity->isA()->name(), currentDatabase().shownLayerName(*entity)}];
  for (const auto& [key, count] : counts)
    say("  " + std::to_string(count) + " " + key.first + " on layer " + key.second + "\n");
}

// Edit distance between two ASCII names, ignoring case.
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = text::cp936::equalIgnoringAsciiCase(a.substr(i - 1, 1), b.substr(j - 1, 1));
      const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

const char kAnswerHelp[] =
    "How to answer (? or help at any prompt says what it takes):\n"
    "  a point            x,y or x,y,z, or @dx,dy from the last point (full-width\n"
    "                     digits work too); Enter or Esc gives none\n"
    "  Select objects:    one option a line: W, C, ALL, L(ast), P(revious),\n"
    "                     layer A,B,\"Site Layout\", handle H..., R(emove), A(dd), U(ndo);\n"
    "                     Enter alone ends\n"
    "  a file             a path (.prj is added), a folder, or a pattern such as *.prj\n"
    "  a dialog           Tab moves, text+Enter fills a field; ? lists its controls\n"
    "  a message box      y or n (yes, no, 是, 否); Enter gives the default button\n"
    "  Esc (or *cancel*)  cancels the prompt; Ctrl-C cancels the whole command\n"
    "Space ends a command name, a point or a selection option as Enter does.\n"
    "At \"Command: \" Enter repeats the last command; quit, exit or Ctrl-D ends the "
    "session.\n";

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
  const auto help = [this] { listHelp(); };
  addHostCommand("help", "lists the commands and how to answer each prompt", help);
  addHostCommand("?", "the same as help", help);
  addHostCommand("quit", "ends the session", [this] { quit_ = true; });
  addHostCommand("exit", "the same as quit", [this] { quit_ = true; });
}

void CommandProcessor::describeCommand(std::string name, std::string summary) {
  descriptions_.emplace_back(std::move(name), std::move(summary));
}

void CommandProcessor::listHelp() const {
  say("Commands:\n");
  for (const Command& c : commandStack().commands()) {
    const std::string name = text::cp936ToUtf8Lossy(c.globalName);
    std::string line = "  " + name + "  (" + text::cp936ToUtf8Lossy(c.group) + ")";
    for (const auto& [described, summary] : descriptions_)
      if (text::cp936::equalIgnoringAsciiCase(described, name)) line += " " + summary;
    say(line + "\n");
  }
  for (const HostCommand& h : hostCommands_) say("  " + h.name + "  " + h.summary + "\n");
  say(kAnswerHelp);
}

std::optional<std::string> CommandProcessor::nearestName(std::string_view typed) const {
  std::vector<std::string> names;
  for (const HostCommand& h : hostCommands_) names.push_back(h.name);
  for (const Command& c : commandStack().commands()) {
    names.push_back(text::cp936ToUtf8Lossy(c.globalName));
    names.push_back(text::cp936ToUtf8Lossy(c.localName));
  }
  std::optional<std::string> best;
  std::size_t bestDistance = std::max<std::size_t>(2, typed.size() / 3) + 1;
  for (const std::string& name : names) {
    if (name.size() < 2) continue;
    const std::size_t distance = editDistance(typed, name);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = name;
    }
  }
  return best;
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
    const std::optional<std::string> cp936 = text::utf8ToCp936(name);
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
  std::string lastCommand;
  bool interrupted = false;
  for (;;) {
    startNewLine();
    input().atCommandPrompt();
    say("Command: ");
    publishAsking(Asking{AskKind::kCommand, "Command: ", std::nullopt});
    input().setSpaceEndsAnswer(true);
    const Answer answer = input().next();
    if (answer.kind == Answer::Kind::kEnd) break;
    if (answer.kind == Answer::Kind::kInterrupt && interrupted) break;
    interrupted = answer.kind == Answer::Kind::kInterrupt;
    if (!answer.isLine()) {
      startNewLine();
      say("*Cancel*\n");
      if (interrupted) say("(Ctrl-C again or Ctrl-D ends the session.)\n");
      continue;
    }
    std::string name(text::trimBlanks(withAsciiForms(answer.text)));
    // At a terminal, Enter repeats the last command; a script's empty line
    // only asks again.
    if (name.empty() && input().interactive() && !lastCommand.empty()) {
      name = lastCommand;
      // Shown after the prompt, on the line the Enter left.
      commandLine().echo("\x1b[A\r\x1b[9C");
      say(name + "\n");
    }
    if (name.empty()) continue;
    if (runCommand(name, &result)) {
      if (quit_) break;
      lastCommand = name;
      continue;
    }
    std::string reason = "unknown command \"" + name + "\"";
    if (const std::optional<std::string> nearest = nearestName(name))
      reason += "; did you mean " + *nearest + "?";
    if (input().interactive()) reason += " (help lists the commands)";
    input().reject(answer, reason);
  }
  startNewLine();
  result.inputFailed = input().failed();
  return result;
}

}  // namespace cad
