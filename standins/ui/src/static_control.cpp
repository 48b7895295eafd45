#include "ui/static_control.h"

#include "text/code_page.h"

namespace ui {

const RuntimeClass StaticControl::kClass{"StaticControl", &Window::kClass};

StaticControl::StaticControl(const ControlTemplate& control, Dialog* parent)
    : Window("Static", control.id, control.text, control.rect, control.style, parent) {}

const RuntimeClass* StaticControl::runtimeClass() const {
  return &kClass;
}

std::string StaticControl::describe() const {
  return idLabel() + " label \"" + text::cp936ToUtf8Lossy(text()) + "\"";
}

}  // namespace ui
