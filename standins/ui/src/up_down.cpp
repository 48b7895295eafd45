#include "ui/up_down.h"

#include <algorithm>

#include "text/code_page.h"
#include "ui/dialog.h"

namespace ui {

const RuntimeClass UpDown::kClass{"UpDown", &Window::kClass};

UpDown::UpDown(const ControlTemplate& control, Dialog* parent)
    : Window("msctls_updown32", control.id, control.text, control.rect, control.style, parent) {}

const RuntimeClass* UpDown::runtimeClass() const {
  return &kClass;
}

void UpDown::setRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
  position_ = std::clamp(position_, std::min(lower_, upper_), std::max(lower_, upper_));
}

bool UpDown::clickArrow(std::intptr_t arrow) {
  int towardsUpper = upper_ >= lower_ ? 1 : -1;
  NotifyUpDown notify;
  notify.header.from = this;
  notify.header.idFrom = id();
  notify.header.code = UDN_DELTAPOS;
  notify.position = position_;
  notify.delta = arrow == kUpperArrow ? towardsUpper : -towardsUpper;
  if (parent() != nullptr && parent()->sendMessage(WM_NOTIFY, static_cast<std::uintptr_t>(id()),
                                                   reinterpret_cast<std::intptr_t>(&notify)) != 0)
    return false;
  position_ =
      std::clamp(position_ + notify.delta, std::min(lower_, upper_), std::max(lower_, upper_));
  return true;
}

std::intptr_t UpDown::handleMessage(const Message& message) {
  if (message.code == WM_LBUTTONDOWN) return clickArrow(message.lParam) ? 1 : 0;
  return 0;
}

std::string UpDown::describe() const {
  return idLabel() + " up-down \"" + text::cp936ToUtf8Lossy(text()) + "\" position " +
         std::to_string(position_) + " (range " + std::to_string(lower_) + " to " +
         std::to_string(upper_) + ")";
}

}  // namespace ui
