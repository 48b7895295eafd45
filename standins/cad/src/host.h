#pragma once

#include <memory>

#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/dynamic_linker.h"
#include "cad/input_source.h"
#include "cad/selection_sets.h"
#include "progress_meter.h"
#include "system_registry.h"

// The host's state, in one object (internal to the host library). The public
// accessors (cad::commandLine(), cad::commandStack(), ...) hand out its parts.
namespace cad::detail {

// An input source that answers kEnd to everything: the active input of a
// freshly started host.
std::unique_ptr<InputSource> exhaustedInput();

class Host {
 public:
  Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  CommandLine& commandLine() { return session_.commandLine; }
  CommandStack& commandStack() { return session_.commandStack; }
  SelectionSets& selectionSets() { return session_.selectionSets; }
  // Never null.
  std::unique_ptr<Database>& currentDatabase() { return session_.currentDatabase; }
  // Never null.
  std::unique_ptr<InputSource>& input() { return session_.input; }
  ProgressMeter& progressMeter() { return session_.progressMeter; }
  long& classDictionaryLookups() { return session_.classDictionaryLookups; }
  int& failedFileWrites() { return session_.failedFileWrites; }
  DynamicLinker& dynamicLinker() { return linker_; }
  SystemRegistry& registry() { return registry_; }

  // Puts every part but the loaded modules' records back as a freshly started
  // host has them. In place: the parts keep their addresses, which the
  // registry and loaded modules hold.
  void reset();

 private:
  // What a reset starts afresh.
  struct Session {
    CommandLine commandLine;
    CommandStack commandStack;
    SelectionSets selectionSets;
    std::unique_ptr<Database> currentDatabase = std::make_unique<Database>();
    std::unique_ptr<InputSource> input = exhaustedInput();
    ProgressMeter progressMeter;
    long classDictionaryLookups = 0;
    int failedFileWrites = 0;
  };

  // The registry points at the linker and the session, so it comes last and
  // goes first.
  DynamicLinker linker_;
  Session session_;
  SystemRegistry registry_;
};

// The one host of the process, made on first use and destroyed at exit after
// everything made later (modules loaded since included).
Host& host();

}  // namespace cad::detail
