#include "ui/combo_box.h"

#include <algorithm>

#include "text/code_page.h"
#include "text/cp936.h"
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

bool ComboBox::setEntryKey(int index, std::string_view key) {
  if (index < 0 || index >= count()) return false;
  keys_.resize(entries_.size());
  keys_[static_cast<std::size_t>(index)] = std::string(key);
  return true;
}

const std::string& ComboBox::entryKey(int index) const {
  static const std::string kNone;
  if (index < 0 || static_cast<std::size_t>(index) >= keys_.size()) return kNone;
  return keys_[static_cast<std::size_t>(index)];
}

void ComboBox::focusGained(bool) {
  typed_.clear();
}

int ComboBox::entryStartingWith(std::string_view typed) const {
  if (typed.empty()) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].starts_with(typed)) return static_cast<int>(i);
  // ASCII short names ignore case.
  std::string lowered(typed);
  for (char& c : lowered)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (std::size_t i = 0; i < keys_.size(); ++i)
    if (!keys_[i].empty() && keys_[i].starts_with(lowered)) return static_cast<int>(i);
  return -1;
}

bool ComboBox::pick(int index) {
  if (index < -1 || index >= count()) return false;
  if (parent() != nullptr) parent()->setFocus(this);
  selectAndNotify(index);
  return true;
}

void ComboBox::selectAndNotify(int index) {
  setCurrentSelection(index);
  if (parent() != nullptr) {
    std::uintptr_t command =
        (static_cast<std::uintptr_t>(CBN_SELCHANGE) << 16) | (static_cast<unsigned>(id()) & 0xFFFF);
    parent()->sendMessage(WM_COMMAND, command, reinterpret_cast<std::intptr_t>(this));
  }
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
    case WM_KEYDOWN: {
      typed_.clear();
      const int step = message.wParam == key::kUp ? -1 : message.wParam == key::kDown ? 1 : 0;
      if (step == 0 || count() == 0) return 0;
      const int next = selection_ < 0 ? 0 : std::clamp(selection_ + step, 0, count() - 1);
      if (next != selection_) selectAndNotify(next);
      return 0;
    }
    case WM_CHAR: {
      const auto code = static_cast<unsigned>(message.wParam);
      if (code < 0x20) return 0;
      const std::string character = text::cp936::bytesOf(code);
      typed_ += character;
      int found = entryStartingWith(typed_);
      if (found < 0) {
        typed_ = character;
        found = entryStartingWith(typed_);
      }
      if (found >= 0 && found != selection_) selectAndNotify(found);
      return 0;
    }
    default:
      return 0;
  }
}

std::string ComboBox::describe() const {
  std::string line = idLabel() + " list [";
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0) line += " | ";
    line += std::to_string(i) + ":" + text::cp936ToUtf8Lossy(entries_[i]);
  }
  line += "] selected ";
  line += selection_ < 0
              ? std::string("none")
              : std::to_string(selection_) + " \"" +
                    text::cp936ToUtf8Lossy(entries_[static_cast<std::size_t>(selection_)]) + "\"";
  return line;
}

}  // namespace ui
