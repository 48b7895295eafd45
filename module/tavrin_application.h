#pragma once

#include "ui/application.h"

namespace tavrin {

// The module's one application object of the user-interface library. It has
// no name of its own (the library names it after the module file) and adds
// nothing to the base's start and exit.
class TavrinApplication : public ui::Application {
 public:
  TavrinApplication() : ui::Application(nullptr) {}
};

}  // namespace tavrin
