#include "ui/combo_box.h"

#include "cad/code_page.h"
#include "ui/dialog.h"

namespace ui {

const RuntimeClass ComboBox::kClass{"ComboBox", &Window::kClass};

ComboBox::ComboBox(const ControlTemplate& control, Dialog* parent)
    : Window("ComboBox", control.id, "", control.rect, control.style, parent) {}

const RuntimeClass* ComboBox::runtimeClass() const {
  return &kClass;
}

int ComboBox::addString(std::string_view entry) {
  entries_.emplace_back(entry);
  return count() - 1;
}

int ComboBox::setCurrentSelection(int index) {
  if (index < 0 || index >= count()) {
    selection_ = -1;
    setText("");
    return -1;
  }
  selection_ = index;
  setText(entries_[static_cast<std::size_t>(index)]);
  return index;
}

bool ComboBox::pick(int index) {
  if (index < -1 || index >= count()) return false;
  if (parent() != nullptr) parent()->setFocus(this);
  setCurrentSelection(index);
  if (parent() != nullptr) {
    std::uintptr_t command =
        (static_cast<std::uintptr_t>(CBN_SELCHANGE) << 16) | (static_cast<unsigned>(id()) & 0xFFFF);
    parent()->sendMessage(WM_COMMAND, command, reinterpret_cast<std::intptr_t>(this));
  }
  return true;
}

std::intptr_t ComboBox::handleMessage(const Message& message) {
  switch (message.code) {
    case CB_ADDSTRING:
      if (message.lParam == 0) return -1;
      return addString(reinterpret_cast<const char*>(message.lParam));
    case CB_GETCOUNT:
      return count();
    case CB_GETCURSEL:
      return currentSelection();
    case CB_SETCURSEL:
      return setCurrentSelection(static_cast<int>(static_cast<std::intptr_t>(message.wParam)));
    case WM_LBUTTONDOWN:
      if (parent() != nullptr) parent()->setFocus(this);
      return 0;
    default:
      return 0;
  }
}

std::string ComboBox::describe() const {
  std::string line = idLabel() + " list [";
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) line += " | ";
    line += std::to_string(i) + ":" + cad::cp936ToUtf8Lossy(entries_[i]);
  }
  line += "] selected ";
  line += selection_ < 0
              ? std::string("none")
              : std::to_string(selection_) + " \"" +
                    cad::cp936ToUtf8Lossy(entries_[static_cast<std::size_t>(selection_)]) + "\"";
  return line;
}

}  // namespace ui
