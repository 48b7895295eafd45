#include "ui/dialog.h"

#include <strings.h>

#include <algorithm>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "dialog_screen.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/dialog_view.h"
#include "ui/edit.h"
#include "ui/library.h"
#include "ui/resource_table.h"
#include "ui/static_control.h"
#include "ui/styles.h"
#include "ui/up_down.h"

namespace ui {

const RuntimeClass Dialog::kClass{"Dialog", &Window::kClass};

Dialog::Dialog(int templateId, Window*)
    : Window("Dialog", 0, "", DialogRect{}, 0, nullptr), templateId_(templateId) {}

Dialog::~Dialog() {
  close();
}

const RuntimeClass* Dialog::runtimeClass() const {
  return &kClass;
}

namespace {

std::shared_ptr<Window> makeControl(const ControlTemplate& control, Dialog* dialog) {
  const char* name = control.className != nullptr ? control.className : "";
  if (strcasecmp(name, "Static") == 0) return std::make_shared<StaticControl>(control, dialog);
  if (strcasecmp(name, "Button") == 0) return std::make_shared<Button>(control, dialog);
  if (strcasecmp(name, "Edit") == 0) return std::make_shared<Edit>(control, dialog);
  if (strcasecmp(name, "ComboBox") == 0) return std::make_shared<ComboBox>(control, dialog);
  if (strcasecmp(name, "msctls_updown32") == 0) return std::make_shared<UpDown>(control, dialog);
  return nullptr;
}

const char* resultName(int result) {
  return result == kIdOk ? "OK" : "Cancel";
}

}  // namespace

base::Status Dialog::open() {
  close();
  const ResourceTable* resources = resourceTable();
  if (resources == nullptr) {
    return base::Status::error("dialog " + std::to_string(templateId_) +
                               " cannot open: the user-interface library is not started");
  }
  const DialogTemplate* dialogTemplate = resources->findDialog(templateId_);
  if (dialogTemplate == nullptr) {
    return base::Status::error("dialog " + std::to_string(templateId_) +
                               " cannot open: the module has no dialog template of this id");
  }
  int position = 0;
  for (const ControlTemplate& control : dialogTemplate->controls) {
    ++position;
    std::shared_ptr<Window> window = makeControl(control, this);
    if (window == nullptr) {
      controls_.clear();
      return base::Status::error("dialog template " + std::to_string(templateId_) + ": control " +
                                 std::to_string(position) + " (id " + std::to_string(control.id) +
                                 ") has the unknown class \"" +
                                 (control.className ? control.className : "") + "\"");
    }
    controls_.push_back(std::move(window));
  }
  for (const ComboBoxInitData& data : dialogTemplate->comboBoxInitData) {
    auto list = findControl<ComboBox>(data.controlId);
    if (list == nullptr) {
      controls_.clear();
      return base::Status::error("dialog template " + std::to_string(templateId_) +
                                 ": initialisation data for " + std::to_string(data.controlId) +
                                 ", which is no combo box of the dialog");
    }
    for (const char* entry : data.entries) list->addString(entry != nullptr ? entry : "");
    for (std::size_t i = 0; i < data.keys.size(); ++i)
      if (data.keys[i] != nullptr) list->setEntryKey(static_cast<int>(i), data.keys[i]);
  }
  setText(dialogTemplate->caption != nullptr ? dialogTemplate->caption : "");
  open_ = true;
  ended_ = false;
  result_ = kIdCancel;
  focus_ = nullptr;
  queue_.clear();
  if (onInitDialog()) gotoControl(nextTabStop(nullptr, false));
  return base::Status::ok();
}

void Dialog::close() {
  open_ = false;
  focus_ = nullptr;
  queue_.clear();
  controls_.clear();
}

int Dialog::doModal() {
  if (const base::Status opened = open(); !opened.isOk()) {
    cad::commandLine().printUtf8("\n" + opened.message() + "\n");
    return -1;
  }
  cad::InputSource& input = cad::input();
  // A person sees the dialog laid out and drawn again in place; a script's
  // transcript lists every control.
  const bool person = input.interactive();
  if (person) {
    input.setKeyEvents(true);
    screen_ = std::make_unique<DialogScreen>(*this);
    screen_->draw({});
  } else {
    show();
  }
  while (!ended_) {
    pumpMessages();
    if (ended_) break;
    if (DialogObserver* observer = dialogObserver()) {
      observer->dialogChanged(viewOf(*this));
      cad::publishAsking(cad::Asking{cad::AskKind::kDialog, describe(), std::nullopt});
    }
    cad::Answer answer = input.next();
    if (!answer.isLine()) {
      endDialog(kIdCancel);
      break;
    }
    if (!person) {
      const base::Status applied = applyEvent(answer.text);
      if (!applied.isOk()) input.reject(answer, applied.message());
      continue;
    }
    const base::Result<std::string> event = screen_->eventFor(answer.text);
    const base::Status applied = event.isOk() ? applyEvent(*event) : event.status();
    if (!ended_) screen_->draw(applied.message());
  }
  if (person) input.setKeyEvents(false);
  screen_.reset();
  int result = result_;
  cad::commandLine().printUtf8(describe() + " closed: " + resultName(result) + "\n");
  close();
  if (DialogObserver* observer = dialogObserver()) observer->dialogChanged(viewOf(*this));
  return result;
}

void Dialog::setStatusLine(std::string_view name, std::string note) {
  const auto named = std::find_if(statusLines_.begin(), statusLines_.end(),
                                  [&](const auto& line) { return line.first == name; });
  if (note.empty()) {
    if (named != statusLines_.end()) statusLines_.erase(named);
  } else if (named != statusLines_.end()) {
    named->second = std::move(note);
  } else {
    statusLines_.emplace_back(std::string(name), std::move(note));
  }
}

std::vector<std::string> Dialog::statusLines() const {
  std::vector<std::string> lines;
  for (const auto& line : statusLines_) lines.push_back(line.second);
  return lines;
}

void Dialog::endDialog(int result) {
  result_ = result;
  ended_ = true;
}

void Dialog::pumpMessages() {
  while (open_ && !ended_ && !queue_.empty()) {
    Message message = std::move(queue_.front());
    queue_.pop_front();
    processMessage(message);
  }
}

void Dialog::processMessage(const Message& message) {
  if (!open_ || ended_ || message.window == nullptr) return;
  if (preTranslateMessage(message)) {
    if (screen_ && message.code == WM_CHAR && message.wParam >= 0x20) screen_->refused(message);
    return;
  }
  if (standardKeyHandling(message)) return;
  // Translation: the Backspace key also produces its character.
  if (message.code == WM_KEYDOWN && message.wParam == key::kBackspace)
    postMessage(message.window, WM_CHAR, key::kBackspace);
  message.window->handleMessage(message);
}

bool Dialog::standardKeyHandling(const Message& message) {
  if (message.code == WM_CHAR) {
    std::uintptr_t c = message.wParam;
    // The keys the dialog navigates with never reach a control as characters.
    return c == key::kTab || c == key::kEnter || c == key::kEscape;
  }
  if (message.code != WM_KEYDOWN) return false;
  switch (message.wParam) {
    case key::kTab:
      gotoControl(nextTabStop(focus_, (message.lParam & kShiftDown) != 0));
      return true;
    case key::kEscape:
      sendMessage(WM_COMMAND, kIdCancel);
      return true;
    case key::kUp:
    case key::kDown:
      if (UpDown* spin = arrowKeysUpDownAfter(message.window)) {
        postMessage(spin, WM_LBUTTONDOWN, 0,
                    message.wParam == key::kUp ? kUpperArrow : kLowerArrow);
        return true;
      }
      return false;
    case key::kEnter:
      if (auto* button = dynamic_cast<Button*>(focus_); button != nullptr && !button->isGroupBox())
        button->click();
      else
        sendMessage(WM_COMMAND, kIdOk);
      return true;
    default:
      return false;
  }
}

UpDown* Dialog::arrowKeysUpDownAfter(const Window* window) const {
  if (dynamic_cast<const Edit*>(window) == nullptr) return nullptr;
  for (std::size_t i = 0; i + 1 < controls_.size(); ++i)
    if (controls_[i].get() == window) {
      auto* spin = dynamic_cast<UpDown*>(controls_[i + 1].get());
      return spin != nullptr && spin->hasStyle(style::kUpDownArrowKeys) ? spin : nullptr;
    }
  return nullptr;
}

Window* Dialog::control(int id) const {
  return controlShared(id).get();
}

std::shared_ptr<Window> Dialog::controlShared(int id) const {
  if (id == kNoControlId) return nullptr;
  for (const auto& window : controls_)
    if (window->id() == id) return window;
  return nullptr;
}

void Dialog::setFocus(Window* window) {
  if (window == nullptr || !window->canTakeFocus()) return;
  focus_ = window;
  window->focusGained(false);
}

void Dialog::gotoControl(Window* window) {
  if (window == nullptr || !window->canTakeFocus()) return;
  focus_ = window;
  window->focusGained(true);
}

Window* Dialog::nextTabStop(const Window* from, bool previous) const {
  const int count = static_cast<int>(controls_.size());
  int start = -1;
  for (int i = 0; i < count; ++i)
    if (controls_[static_cast<std::size_t>(i)].get() == from) start = i;
  if (start < 0 && previous) start = 0;
  for (int step = 1; step <= count; ++step) {
    int i = ((previous ? start - step : start + step) % count + count) % count;
    Window* candidate = controls_[static_cast<std::size_t>(i)].get();
    if (candidate->hasStyle(style::kTabStop) && candidate->canTakeFocus()) return candidate;
  }
  return nullptr;
}

bool Dialog::postMessage(Window* window, unsigned code, std::uintptr_t wParam, std::intptr_t lParam,
                         std::string text) {
  if (!open_ || window == nullptr) return false;
  queue_.push_back(Message{window, code, wParam, lParam, std::move(text)});
  return true;
}

std::intptr_t Dialog::handleMessage(const Message& message) {
  switch (message.code) {
    case WM_COMMAND:
      onCommand(static_cast<int>(message.wParam & 0xFFFF),
                static_cast<int>(static_cast<std::int16_t>((message.wParam >> 16) & 0xFFFF)));
      return 0;
    case WM_NOTIFY:
      if (message.lParam == 0) return 0;
      return onNotify(*reinterpret_cast<const NotifyHeader*>(message.lParam));
    case WM_CLOSE:
      onCommand(kIdCancel, BN_CLICKED);
      return 0;
    case WM_NEXTDLGCTL:
      if (message.lParam != 0)
        gotoControl(control(static_cast<int>(message.wParam)));
      else
        gotoControl(nextTabStop(focus_, message.wParam != 0));
      return 0;
    default:
      return 0;
  }
}

bool Dialog::onInitDialog() {
  exchangeData(false);
  return true;
}

bool Dialog::exchangeData(bool) {
  return true;
}

bool Dialog::preTranslateMessage(const Message&) {
  return false;
}

void Dialog::onCommand(int id, int) {
  if (id == kIdOk) onOK();
  if (id == kIdCancel) onCancel();
}

std::intptr_t Dialog::onNotify(const NotifyHeader&) {
  return 0;
}

void Dialog::onOK() {
  if (exchangeData(true)) endDialog(kIdOk);
}

void Dialog::onCancel() {
  endDialog(kIdCancel);
}

}  // namespace ui
