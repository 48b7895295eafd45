#include "cad/module_loader.h"

#include <dlfcn.h>

#include <exception>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "cad/command_line.h"
#include "cad/command_stack.h"
#include "cad/dynamic_linker.h"
#include "host/module_entry.h"

namespace cad {

struct LoadedModule::State {
  std::string path;  // absolute
  std::string name;  // as the user gave it, for messages
  void* library = nullptr;
  DllMainFunction dllMain = nullptr;
  SetacrxPtpFunction setacrxPtp = nullptr;
  AcrxGetApiVersionFunction getApiVersion = nullptr;
  AcrxEntryPointFunction entryPoint = nullptr;
  // Only its address matters: it is the module's application id.
  char appTag = 0;

  void* instance() { return this; }
  void* appId() { return &appTag; }
};

namespace {

// Runs `call`; an exception escaping a module's entry point becomes a failure.
template <class Call>
base::Status guarded(Call&& call) {
  try {
    call();
    return base::Status::ok();
  } catch (const std::exception& e) {
    return base::Status::error(std::string("it threw: ") + e.what());
  } catch (...) {
    return base::Status::error("it threw an exception of unknown type");
  }
}

// ": <why>" for a failed call, nothing for one that returned.
std::string reasonOf(const base::Status& called) {
  return called.isOk() ? std::string() : ": " + called.message();
}

void warn(const std::string& message) {
  commandLine().printUtf8(message + "\n");
}

std::string dlError() {
  const char* message = dlerror();
  return message != nullptr ? message : "unknown error";
}

// Base address of the shared object that holds `address`, or null.
const void* objectBase(const void* address) {
  Dl_info info{};
  if (address == nullptr || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

// Commands whose function lies in the module would dangle once it is closed.
void removeLeftCommands(const LoadedModule::State& state) {
  const void* base = objectBase(reinterpret_cast<const void*>(state.entryPoint));
  if (base == nullptr) return;
  const auto removed = commandStack().removeIf([&](const Command& c) {
    return objectBase(reinterpret_cast<const void*>(c.function)) == base;
  });
  if (removed.empty()) return;
  std::string names;
  for (const Command& c : removed) names += (names.empty() ? "" : ", ") + c.globalName;
  warn("module " + state.name + " left commands registered after unloading; removed: " + names);
}

// Undoes the start-up from process attach on: process detach, then close.
void detachAndClose(LoadedModule::State& state) {
  int attached = 1;
  const base::Status detached =
      guarded([&] { attached = state.dllMain(state.instance(), kProcessDetach, nullptr); });
  if (!detached.isOk())
    warn("module " + state.name + ": loader entry failed at process detach: " + detached.message());
  else if (attached == 0)
    warn("module " + state.name + ": loader entry reported failure at process detach");
  dynamicLinker().removeModule(state.instance());
  if (dlclose(state.library) != 0)
    warn("module " + state.name + ": cannot be closed: " + dlError());
  state.library = nullptr;
}

// The unload message, then the rest of detachAndClose.
void unloadFully(LoadedModule::State& state) {
  AcRx::AppRetCode result = AcRx::kRetOK;
  const base::Status told =
      guarded([&] { result = state.entryPoint(AcRx::kUnloadAppMsg, state.appId()); });
  if (!told.isOk())
    warn("module " + state.name + ": unload message failed: " + told.message());
  else if (result != AcRx::kRetOK)
    warn("module " + state.name + ": unload message answered " + std::to_string(result));
  removeLeftCommands(state);
  detachAndClose(state);
}

template <class Function>
bool resolve(void* library, const char* symbol, Function* function) {
  void* address = dlsym(library, symbol);
  *function = reinterpret_cast<Function>(address);
  return address != nullptr;
}

// Looks up the module's four entry points in that order; the name of the
// first one it lacks, or null when it has all four.
const char* resolveEntryPoints(LoadedModule::State& state) {
  if (!resolve(state.library, "DllMain", &state.dllMain)) return "DllMain";
  if (!resolve(state.library, "_SetacrxPtp", &state.setacrxPtp)) return "_SetacrxPtp";
  if (!resolve(state.library, "acrxGetApiVersion", &state.getApiVersion))
    return "acrxGetApiVersion";
  if (!resolve(state.library, "acrxEntryPoint", &state.entryPoint)) return "acrxEntryPoint";
  return nullptr;
}

}  // namespace

base::Result<std::unique_ptr<LoadedModule>> LoadedModule::load(const std::string& path) {
  const auto fail = [](std::string message) { return base::Status::error(std::move(message)); };
  std::error_code code;
  const std::filesystem::path absolute = std::filesystem::canonical(path, code);
  if (code) return fail("cannot load module " + path + ": " + code.message());
  if (dynamicLinker().findByPath(absolute.string()) != nullptr)
    return fail("cannot load module " + path + ": it is loaded already");

  auto state = std::make_unique<State>();
  state->path = absolute.string();
  state->name = path;
  dlerror();
  state->library = dlopen(state->path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (state->library == nullptr) return fail("cannot load module " + path + ": " + dlError());

  if (const char* missing = resolveEntryPoints(*state)) {
    dlclose(state->library);
    return fail("cannot load module " + path + ": it has no entry point \"" + missing + "\"");
  }

  dynamicLinker().addModule(
      ModuleRecord{state->path, state->instance(), state->appId(), state->library, false});
  int attached = 0;
  const base::Status attach =
      guarded([&] { attached = state->dllMain(state->instance(), kProcessAttach, nullptr); });
  if (!attach.isOk() || attached == 0) {
    dynamicLinker().removeModule(state->instance());
    dlclose(state->library);
    return fail("cannot load module " + path + ": its loader entry refused process attach" +
                reasonOf(attach));
  }
  if (const base::Status set = guarded([&] { state->setacrxPtp(); }); !set.isOk()) {
    detachAndClose(*state);
    return fail("cannot load module " + path + ": _SetacrxPtp failed" + reasonOf(set));
  }
  int version = 0;
  if (const base::Status asked = guarded([&] { version = state->getApiVersion(); });
      !asked.isOk()) {
    detachAndClose(*state);
    return fail("cannot load module " + path + ": acrxGetApiVersion failed" + reasonOf(asked));
  }
  if (version != kHostApiVersion) {
    detachAndClose(*state);
    return fail("module " + path + " refused: it reports interface version " +
                std::to_string(version) + ", this host needs " + std::to_string(kHostApiVersion));
  }
  AcRx::AppRetCode initialised = AcRx::kRetOK;
  const base::Status init =
      guarded([&] { initialised = state->entryPoint(AcRx::kInitAppMsg, state->appId()); });
  if (!init.isOk() || initialised != AcRx::kRetOK) {
    unloadFully(*state);
    return fail("cannot load module " + path + ": its initialisation failed" +
                (init.isOk() ? " (answered " + std::to_string(initialised) + ")" : reasonOf(init)));
  }
  return std::unique_ptr<LoadedModule>(new LoadedModule(std::move(state)));
}

LoadedModule::LoadedModule(std::unique_ptr<State> state) : state_(std::move(state)) {}

LoadedModule::~LoadedModule() {
  unloadFully(*state_);
}

const std::string& LoadedModule::path() const {
  return state_->path;
}

std::string LoadedModule::baseName() const {
  return moduleBaseName(state_->instance());
}

void* LoadedModule::instance() const {
  return state_->instance();
}

void* LoadedModule::appId() const {
  return state_->appId();
}

bool LoadedModule::unlocked() const {
  const ModuleRecord* record = dynamicLinker().findByInstance(state_->instance());
  return record != nullptr && record->unlocked;
}

std::string moduleBaseName(const void* instance) {
  const ModuleRecord* record = dynamicLinker().findByInstance(instance);
  return record == nullptr ? std::string() : std::filesystem::path(record->path).stem().string();
}

std::string modulePath(const void* instance) {
  const ModuleRecord* record = dynamicLinker().findByInstance(instance);
  return record == nullptr ? std::string() : record->path;
}

void* moduleSymbol(const void* instance, const char* name) {
  const ModuleRecord* record = dynamicLinker().findByInstance(instance);
  if (record == nullptr || name == nullptr) return nullptr;
  return dlsym(record->library, name);
}

}  // namespace cad
