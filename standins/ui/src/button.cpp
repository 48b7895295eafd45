#include "ui/button.h"

#include "text/code_page.h"
#include "ui/dialog.h"
#include "ui/styles.h"

namespace ui {

const RuntimeClass Button::kClass{"Button", &Window::kClass};

Button::Button(const ControlTemplate& control, Dialog* parent)
    : Window("Button", control.id, control.text, control.rect, control.style, parent) {}

const RuntimeClass* Button::runtimeClass() const {
  return &kClass;
}

bool Button::isGroupBox() const {
  return (style() & style::kButtonTypeMask) == style::kGroupBox;
}

void Button::click() {
  if (isGroupBox() || parent() == nullptr) return;
  parent()->setFocus(this);
  std::uintptr_t command =
      (static_cast<std::uintptr_t>(BN_CLICKED) << 16) | (static_cast<unsigned>(id()) & 0xFFFF);
  parent()->sendMessage(WM_COMMAND, command, reinterpret_cast<std::intptr_t>(this));
}

std::intptr_t Button::handleMessage(const Message& message) {
  if (message.code == WM_LBUTTONDOWN) click();
  return 0;
}

std::string Button::describe() const {
  std::string shown = text::cp936ToUtf8Lossy(text());
  if (isGroupBox()) return idLabel() + " group box \"" + shown + "\"";
  return idLabel() + " button [" + shown + "]";
}

}  // namespace ui
