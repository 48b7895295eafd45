#include "ui/edit.h"

#include <algorithm>

#include "text/code_page.h"
#include "text/cp936.h"
#include "ui/dialog.h"
#include "ui/styles.h"

namespace ui {

const RuntimeClass Edit::kClass{"Edit", &Window::kClass};

Edit::Edit(const ControlTemplate& control, Dialog* parent)
    : Window("Edit", control.id, control.text, control.rect, control.style, parent) {}

const RuntimeClass* Edit::runtimeClass() const {
  return &kClass;
}

bool Edit::isReadOnly() const {
  return hasStyle(style::kEditReadOnly);
}

void Edit::setText(std::string_view text) {
  Window::setText(text);
  selectionStart_ = selectionEnd_ = 0;
}

void Edit::setSelection(int start, int end) {
  const std::string& content = text();
  auto place = [&](int offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) >= content.size())
      return static_cast<int>(content.size());
    return static_cast<int>(text::cp936::characterStart(content, static_cast<std::size_t>(offset)));
  };
  selectionStart_ = start < 0 ? 0 : place(start);
  selectionEnd_ = place(end);
}

bool Edit::wholeTextSelected() const {
  int low = std::min(selectionStart_, selectionEnd_);
  int high = std::max(selectionStart_, selectionEnd_);
  return low == 0 && high == static_cast<int>(text().size());
}

void Edit::replaceSelection(std::string_view inserted) {
  std::string content = text();
  std::size_t low = static_cast<std::size_t>(std::min(selectionStart_, selectionEnd_));
  std::size_t high = static_cast<std::size_t>(std::max(selectionStart_, selectionEnd_));
  content.replace(low, high - low, inserted);
  Window::setText(content);
  selectionStart_ = selectionEnd_ = static_cast<int>(low + inserted.size());
}

bool Edit::typeCharacter(unsigned character) {
  if (character == key::kBackspace) return backspace();
  if (isReadOnly() || character < 0x20 || character == 0x7F || character > 0xFFFF) return false;
  replaceSelection(text::cp936::bytesOf(character));
  return true;
}

bool Edit::backspace() {
  if (isReadOnly()) return false;
  if (selectionStart_ == selectionEnd_) {
    if (selectionEnd_ == 0) return false;
    selectionStart_ = static_cast<int>(
        text::cp936::previousCharacter(text(), static_cast<std::size_t>(selectionEnd_)));
  }
  replaceSelection("");
  return true;
}

bool Edit::paste(std::string_view pasted) {
  if (isReadOnly()) return false;
  // One line only: a paste stops at the first line end.
  std::size_t end = pasted.find_first_of("\r\n");
  if (end != std::string_view::npos) pasted = pasted.substr(0, end);
  replaceSelection(pasted);
  return true;
}

std::intptr_t Edit::handleMessage(const Message& message) {
  switch (message.code) {
    case WM_CHAR:
      return typeCharacter(static_cast<unsigned>(message.wParam)) ? 1 : 0;
    case WM_PASTE:
      return paste(message.text) ? 1 : 0;
    case EM_SETSEL:
      setSelection(static_cast<int>(static_cast<std::intptr_t>(message.wParam)),
                   static_cast<int>(message.lParam));
      return 0;
    case EM_GETSEL:
      return (static_cast<std::intptr_t>(selectionEnd_) << 16) | selectionStart_;
    case WM_LBUTTONDOWN:
      if (parent() != nullptr) parent()->setFocus(this);
      selectionStart_ = selectionEnd_ = static_cast<int>(text().size());
      return 0;
    default:
      return 0;
  }
}

void Edit::focusGained(bool selectAll) {
  if (selectAll) setSelection(0, -1);
}

std::string Edit::describe() const {
  std::string line = idLabel() + " edit \"" + text::cp936ToUtf8Lossy(text()) + "\"";
  if (isReadOnly()) line += " read-only";
  if (selectionStart_ != selectionEnd_)
    line += " selected " + std::to_string(std::min(selectionStart_, selectionEnd_)) + "-" +
            std::to_string(std::max(selectionStart_, selectionEnd_));
  else
    line += " caret " + std::to_string(selectionEnd_);
  return line;
}

}  // namespace ui
