#pragma once

#include "ui/window.h"

namespace ui {

// A label (class "Static"): shows its text, takes no focus, ignores input.
class StaticControl : public Window {
 public:
  static const RuntimeClass kClass;
  StaticControl(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;
  std::string describe() const override;
};

}  // namespace ui
