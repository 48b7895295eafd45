#include "ui/window.h"

#include <algorithm>
#include <cstring>

#include "text/code_page.h"
#include "ui/dialog.h"

namespace ui {

const RuntimeClass Window::kClass{"Window", &Object::kClass};

Window::Window(std::string className, int id, std::string_view text, DialogRect rect,
               std::uint32_t style, Dialog* parent)
    : className_(std::move(className)),
      id_(id),
      text_(text),
      rect_(rect),
      style_(style),
      parent_(parent) {}

Window::~Window() = default;

const RuntimeClass* Window::runtimeClass() const {
  return &kClass;
}

int Window::getClassName(char* buffer, int size) const {
  if (buffer == nullptr || size < 1) return 0;
  int length = std::min(static_cast<int>(className_.size()), size - 1);
  std::memcpy(buffer, className_.data(), static_cast<std::size_t>(length));
  buffer[length] = '\0';
  return length;
}

void Window::setText(std::string_view text) {
  text_ = text;
}

std::intptr_t Window::sendMessage(unsigned code, std::uintptr_t wParam, std::intptr_t lParam) {
  Message message;
  message.window = this;
  message.code = code;
  message.wParam = wParam;
  message.lParam = lParam;
  return handleMessage(message);
}

std::intptr_t Window::handleMessage(const Message&) {
  return 0;
}

void Window::focusGained(bool) {}

std::string Window::describe() const {
  return idLabel() + " " + className_ + " \"" + text::cp936ToUtf8Lossy(text_) + "\"";
}

std::string Window::idLabel() const {
  return id_ == kNoControlId ? "-" : std::to_string(id_);
}

}  // namespace ui
