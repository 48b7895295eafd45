#include "module_runtime.h"

#include <type_traits>

namespace tavrin {

namespace {
constinit ModuleRuntime runtime;
}
static_assert(std::is_trivially_destructible_v<ModuleRuntime>);

bool ModuleRuntime::start() {
  if (application_ != nullptr) return false;
  application_ = new (applicationStorage_) TavrinApplication();
  return true;
}

bool ModuleRuntime::terminate() {
  if (application_ == nullptr) return false;
  application_->~TavrinApplication();
  application_ = nullptr;
  return true;
}

ModuleRuntime& moduleRuntime() {
  return runtime;
}

}  // namespace tavrin
