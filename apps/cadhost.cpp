// cadhost: the emulated CAD host as a program. Loads a drawing and plug-in
// modules, then runs commands and answers prompts from a script or from the
// terminal.

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "arguments/argument_list.h"
#include "base/result.h"
#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "cad/database.h"
#include "cad/drawing_loading.h"
#include "cad/drawing_summary.h"
#include "cad/file_write_failures.h"
#include "cad/host_exit.h"
#include "cad/input_source.h"
#include "cad/module_loader.h"
#include "cad/script_input.h"
#include "cad/terminal_input.h"
#include "plot_command/plot_command.h"
#include "ui/module_names.h"
#include "web_session/web_session.h"

namespace {

constexpr const char* kDefaultModule = "tavrin.arx";
constexpr const char* kAcadtomnSummary =
    "turns the LINEs and ARCs you select into the axis grid of one floor of a Morlen project";

constexpr const char* kUsage =
    "usage: cadhost [--load MODULE]... [--no-default-module] [--script FILE|-] [--list]\n"
    "               [--codepage NAME] [--trace] [--web [--port N]] [DRAWING]\n"
    "\n"
    "Loads the drawing DRAWING, DXF or DWG R13 to 2018 (none: an empty drawing),\n"
    "and the modules, then runs commands. Every answer comes from the script FILE\n"
    "(\"-\": standard input), one per line; without a script, from the terminal.\n"
    "\n"
    "  --load MODULE         load this module too (may be repeated)\n"
    "  --no-default-module   do not load tavrin.arx from beside cadhost (or, installed,\n"
    "                        from ../lib/tavrin)\n"
    "  --script FILE|-       take the answers from FILE, or from standard input\n"
    "  --list                list the loaded modules, commands and drawing first\n"
    "  --web                 serve the session to a page in the browser instead:\n"
    "                        prints the page's address (127.0.0.1 only, with a\n"
    "                        secret token) and serves until Ctrl-C or quit\n"
    "  --port N              the port for --web (default: a free one)\n"
    "  --codepage NAME       read drawings that name no code page in NAME, e.g.\n"
    "                        ANSI_936 (default: the locale's, else ANSI_1252)\n"
    "  --trace               at a terminal, show every line; without it a run of\n"
    "                        repeated lines (the trace printed per axis) shows as\n"
    "                        one line with a count\n"
    "  --help                show this text\n"
    "\n"
    "At the prompt \"Command: \" type a command name; the host's own commands are\n"
    "\"help\" (or \"?\"), \"commands\", \"modules\", \"drawing\", \"quit\" (or \"exit\") and\n"
    "\"plot\" (a picture of the lines and arcs, the last selection highlighted).\n"
    "The module's command \"acadtomn\" turns the LINEs and ARCs you select into the\n"
    "axis grid of one floor of a Morlen project. In a script, \";\" starts a\n"
    "comment line and \"*cancel*\" cancels the pending input. At a terminal, Esc\n"
    "cancels a prompt, Ctrl-C the running command, and Ctrl-D (or Ctrl-C twice at\n"
    "\"Command: \") ends the session.\n"
    "\n"
    "Exit status: 0 when the input ran to its end without errors; 1 when the\n"
    "arguments are wrong or the drawing, the script or a module cannot be loaded;\n"
    "2 after a script error or a failed command; 3 when a module aborted the host;\n"
    "4 when a file could not be written (the file that was there is unchanged).\n";

struct Options {
  std::vector<std::string> modules;
  bool defaultModule = true;
  std::optional<std::string> script;
  std::optional<std::string> drawing;
  std::optional<std::string> codePage;
  bool list = false;
  bool trace = false;
  bool help = false;
  bool web = false;
  int port = 0;
};

// Failed, saying why, when the arguments make no sense.
base::Result<Options> parseArguments(int argc, char** argv) {
  Options options;
  const auto refuse = [](std::string message) { return base::Status::error(std::move(message)); };
  arguments::ArgumentList list(argc, argv);
  while (const std::optional<std::string> next = list.next()) {
    const std::string& argument = *next;
    if (arguments::ArgumentList::isHelp(argument)) {
      options.help = true;
    } else if (argument == "--load") {
      const auto module = list.value();
      if (!module) return refuse("--load needs a module file");
      options.modules.push_back(*module);
    } else if (argument == "--no-default-module") {
      options.defaultModule = false;
    } else if (argument == "--script") {
      const auto script = list.value();
      if (!script) return refuse("--script needs a file, or - for standard input");
      if (options.script) return refuse("only one --script may be given");
      options.script = script;
    } else if (argument == "--codepage") {
      const auto codePage = list.value();
      if (!codePage) return refuse("--codepage needs a code page name, e.g. ANSI_936");
      options.codePage = codePage;
    } else if (argument == "--web") {
      options.web = true;
    } else if (argument == "--port") {
      const auto port = list.value();
      char* end = nullptr;
      const long number = port ? std::strtol(port->c_str(), &end, 10) : 0;
      if (!port || port->empty() || *end != '\0' || number < 1 || number > 65535)
        return refuse("--port needs a port number from 1 to 65535");
      options.port = static_cast<int>(number);
    } else if (argument == "--list") {
      options.list = true;
    } else if (argument == "--trace") {
      options.trace = true;
    } else if (argument.starts_with("-") && argument != "-") {
      return refuse("unknown option " + argument);
    } else if (options.drawing) {
      return refuse("only one drawing may be given (" + *options.drawing + ", " + argument + ")");
    } else {
      options.drawing = argument;
    }
  }
  if (options.port != 0 && !options.web) return refuse("--port is only for --web");
  if (options.web && options.script)
    return refuse("--web takes its answers from the page, not --script");
  return options;
}

// The folder cadhost runs from, or empty when the system does not say.
std::filesystem::path executableFolder() {
  std::error_code code;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", code);
  return code ? std::filesystem::path() : executable.parent_path();
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code code;
  return std::filesystem::equivalent(a, b, code) && !code;
}

// The default module: tavrin.arx beside cadhost (the build folder), else
// where an installation puts it (../lib/tavrin); empty when neither has it.
std::filesystem::path defaultModule() {
  const auto folder = executableFolder();
  if (folder.empty()) return {};
  for (const auto& candidate :
       {folder / kDefaultModule, folder.parent_path() / "lib" / "tavrin" / kDefaultModule}) {
    std::error_code code;
    if (std::filesystem::is_regular_file(candidate, code)) return candidate;
  }
  return {};
}

// The modules to load: the default module first (when it is there and not
// named again with --load), then the --load ones in order.
std::vector<std::string> modulesToLoad(const Options& options) {
  std::vector<std::string> modules;
  if (options.defaultModule) {
    const auto candidate = defaultModule();
    bool named = false;
    for (const std::string& m : options.modules) named = named || sameFile(m, candidate);
    if (!candidate.empty() && !named) modules.push_back(candidate.string());
  }
  modules.insert(modules.end(), options.modules.begin(), options.modules.end());
  return modules;
}

base::Result<std::unique_ptr<cad::InputSource>> openInput(const Options& options) {
  using Source = std::unique_ptr<cad::InputSource>;
  if (options.script && *options.script != "-") {
    auto script = cad::ScriptInput::fromFile(*options.script);
    if (!script.isOk()) return script.status();
    return Source(std::move(script).value());
  }
  if (!options.script && isatty(STDIN_FILENO))
    return Source(std::make_unique<cad::TerminalInput>());
  // Line by line as they arrive: another program may be waiting for the
  // prompt each answer brings.
  return Source(std::make_unique<cad::ScriptInput>("<stdin>", std::cin));
}

int fail(const std::string& message) {
  std::cout.flush();
  std::cerr << "cadhost: " << message << "\n";
  return cad::kExitLoadFailed;
}

// Unloads in reverse order of loading.
void unloadAll(std::vector<std::unique_ptr<cad::LoadedModule>>* modules) {
  while (!modules->empty()) modules->pop_back();
}

// Loads the modules the options ask for, in order, into `*modules`. When one
// fails, unloads those loaded before it and says why.
base::Status loadModules(const Options& options,
                         std::vector<std::unique_ptr<cad::LoadedModule>>* modules) {
  for (const std::string& path : modulesToLoad(options)) {
    auto module = cad::LoadedModule::load(path);
    if (!module.isOk()) {
      unloadAll(modules);
      return module.status();
    }
    modules->push_back(std::move(module).value());
  }
  return base::Status::ok();
}

// Tells on standard error what went wrong in the session; the exit status.
int exitStatus(const cad::SessionResult& result) {
  if (result.inputFailed) std::cerr << "cadhost: the script stopped at an error\n";
  if (result.commandErrors > 0)
    std::cerr << "cadhost: " << result.commandErrors << " command(s) failed\n";
  if (const int failed = cad::failedFileWrites(); failed > 0) {
    std::cerr << "cadhost: " << failed << " file write(s) failed\n";
    return cad::kExitWriteFailed;
  }
  return result.ok() ? cad::kExitOk : cad::kExitScriptFailed;
}

// Opens the drawing the options name, DXF or DWG, and makes it current; its
// warnings are told. Failed, saying why, when it cannot be opened.
base::Status openDrawing(const std::string& path, const cad::FallbackCodePage& codePage) {
  const cad::DrawingOptions drawingOptions{codePage,
                                           cad::dwg::defaultImporterSettings(executableFolder())};
  auto database = cad::loadDrawing(path, drawingOptions);
  if (!database.isOk()) return database.status();
  for (const std::string& warning : (*database)->warnings())
    cad::commandLine().printUtf8("warning: " + warning + "\n");
  cad::setCurrentDatabase(std::move(database).value());
  return base::Status::ok();
}

int run(const Options& options) {
  // A person at the terminal whose output goes to a file or a pipe: the
  // screen goes to the terminal itself, the transcript to standard output.
  std::ofstream terminal;
  const bool personAtTerminal = !options.script && isatty(STDIN_FILENO);
  if (personAtTerminal && !isatty(STDOUT_FILENO)) terminal.open("/dev/tty", std::ios::binary);
  const bool screenApart = terminal.is_open();
  cad::commandLine().setTerminal(screenApart ? static_cast<std::ostream*>(&terminal) : &std::cout);
  if (!options.trace && (screenApart || isatty(STDOUT_FILENO))) cad::commandLine().setFolding(true);
  std::cin.tie(nullptr);

  const auto codePage = cad::chooseFallbackCodePage(
      options.codePage, [](const char* name) { return std::getenv(name); });
  if (!codePage.isOk()) return fail(codePage.message());
  if (options.drawing)
    if (const base::Status opened = openDrawing(*options.drawing, *codePage); !opened.isOk())
      return fail(opened.message());

  std::unique_ptr<web::WebSession> webSession;
  if (options.web) {
    web::WebSessionOptions webOptions;
    webOptions.drawingName =
        options.drawing ? std::filesystem::path(*options.drawing).filename().string() : "";
    webOptions.port = options.port;
    webSession = std::make_unique<web::WebSession>(cad::currentDatabase(), webOptions);
    if (const base::Status started = webSession->start(); !started.isOk())
      return fail(started.message());
    // The first Ctrl-C ends the session at its next question; a second one,
    // while a command is still at work, ends the program.
    std::signal(SIGINT, [](int signal) {
      if (web::stopRequested()) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
      }
      web::requestStop();
    });
    std::cout << webSession->address() << "\n";
    std::cout.flush();
    cad::setInput(webSession->makeInput());
  } else {
    auto source = openInput(options);
    if (!source.isOk()) return fail(source.message());
    cad::setInput(std::move(source).value());
  }
  const bool interactive = cad::input().interactive();

  // The user-interface library names a module's message boxes after its file.
  ui::setModuleNameLookup(cad::moduleBaseName);
  std::vector<std::unique_ptr<cad::LoadedModule>> modules;
  if (const base::Status loaded = loadModules(options, &modules); !loaded.isOk())
    return fail(loaded.message());

  if (options.drawing)
    cad::commandLine().printUtf8(
        "\n" + cad::drawingSummary(cad::currentDatabase(),
                                   std::filesystem::path(*options.drawing).filename().string()));

  cad::CommandProcessor processor;
  processor.addHostCommand("plot", "draws the drawing's lines and arcs into a picture",
                           runPlotCommand);
  processor.describeCommand("acadtomn", kAcadtomnSummary);
  if (options.list) {
    cad::SessionResult ignored;
    for (const char* listing : {"modules", "commands", "drawing"}) {
      cad::startNewLine();
      processor.runCommand(listing, &ignored);
    }
  }
  if (interactive)
    cad::commandLine().printUtf8(
        std::string("\nacadtomn ") + kAcadtomnSummary +
        ".\nType a command name; help lists them, ? at any prompt says what it takes.\n"
        "Enter repeats the last command. Esc cancels a prompt, Ctrl-C the command;\n"
        "quit, exit or Ctrl-D ends the session.\n");
  const cad::SessionResult result = processor.run();
  if (webSession) webSession->finish();
  unloadAll(&modules);
  if (screenApart) std::cout << cad::commandLine().transcript();
  std::cout.flush();
  return exitStatus(result);
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = parseArguments(argc, argv);
  if (!options.isOk()) {
    std::cerr << "cadhost: " << options.message() << "\n\n" << kUsage;
    return cad::kExitLoadFailed;
  }
  if (options->help) {
    std::cout << kUsage;
    return cad::kExitOk;
  }
  return run(*options);
}
