#include "ui/application.h"

#include "library_state.h"

namespace ui {

const RuntimeClass Application::kClass{"Application", &Object::kClass};

Application::Application(const char* name)
    : name_(name != nullptr ? name : ""), namedByConstructor_(name != nullptr && *name != '\0') {
  Library::get().registerApplication(this);
}

Application::~Application() {
  Library::get().unregisterApplication(this);
}

const RuntimeClass* Application::runtimeClass() const {
  return &kClass;
}

bool Application::initInstance() {
  return true;
}

int Application::exitInstance() {
  return 0;
}

}  // namespace ui
