#pragma once

#include "ui/window.h"

namespace ui {

// Class "Button": a push button or a group box (by its style). A push button
// takes the focus; a click, or Enter while it has the focus, sends
// WM_COMMAND with BN_CLICKED to the dialog. A group box only frames.
class Button : public Window {
 public:
  static const RuntimeClass kClass;
  Button(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;

  bool isGroupBox() const;
  // Presses the button: focus, then BN_CLICKED to the dialog. A group box
  // does nothing.
  void click();

  std::intptr_t handleMessage(const Message& message) override;
  bool canTakeFocus() const override { return !isGroupBox(); }
  std::string describe() const override;
};

}  // namespace ui
