// The events a user gives an open dialog, one line each, and how the dialog
// shows itself on the command line.
#include <string>

#include "answer_words.h"
#include "cad/code_page.h"
#include "cad/command_line.h"
#include "text/cp936.h"
#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/edit.h"
#include "ui/up_down.h"

namespace ui {

namespace {

const char kEventList[] =
    "focus ID, type TEXT, key ENTER|TAB|SHIFT+TAB|ESC|BACKSPACE, paste TEXT, select ID N, "
    "click ID, spin ID up|down, close, set ID TEXT or show";

struct KeyName {
  const char* name;
  unsigned key;
  std::intptr_t modifiers;
};

const KeyName kKeys[] = {
    {"enter", key::kEnter, 0},
    {"tab", key::kTab, 0},
    {"shift+tab", key::kTab, kShiftDown},
    {"esc", key::kEscape, 0},
    {"backspace", key::kBackspace, 0},
};

}  // namespace

std::string Dialog::applyEvent(std::string_view line) {
  if (!open_) return "the dialog is not open";
  std::string_view rest;
  const std::string verb = words::lower(words::firstWord(line, &rest));
  Window* target = focus_ != nullptr ? focus_ : this;

  // The control named by the next word of `rest`, which then drops it.
  std::string reason;
  auto takeControl = [&](std::string_view* args) -> Window* {
    std::string_view idWord = words::firstWord(*args, args);
    std::optional<int> id = words::toInt(idWord);
    if (!id) {
      reason = verb + ": \"" + std::string(idWord) + "\" is not a control id";
      return nullptr;
    }
    Window* window = control(*id);
    if (window == nullptr) reason = verb + ": the dialog has no control " + std::to_string(*id);
    return window;
  };
  auto toCp936 = [&](std::string_view utf8, std::string* out) {
    std::optional<std::string> converted = cad::utf8ToCp936(utf8);
    if (!converted) {
      reason =
          verb + ": \"" + std::string(utf8) + "\" holds a character that code page 936 cannot hold";
      return false;
    }
    *out = std::move(*converted);
    return true;
  };
  auto postCharacters = [&](Window* window, const std::string& cp936) {
    for (unsigned code : text::cp936::characterCodes(cp936)) postMessage(window, WM_CHAR, code);
  };

  if (verb == "show") {
    if (!words::trim(rest).empty()) return "show takes nothing after it";
    show();
    return {};
  }
  if (verb == "close") {
    if (!words::trim(rest).empty()) return "close takes nothing after it";
    postMessage(this, WM_CLOSE);
  } else if (verb == "focus") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (!window->canTakeFocus())
      return "focus: control " + std::to_string(window->id()) + " takes no focus";
    postMessage(this, WM_NEXTDLGCTL, static_cast<std::uintptr_t>(window->id()), 1);
  } else if (verb == "type" || verb == "paste") {
    std::string text;
    if (!toCp936(rest, &text)) return reason;
    if (verb == "type") {
      if (text.empty()) return "type: nothing to type";
      postCharacters(target, text);
    } else {
      postMessage(target, WM_PASTE, 0, 0, text);
    }
  } else if (verb == "key") {
    const std::string name = words::lower(words::trim(rest));
    const KeyName* found = nullptr;
    for (const KeyName& k : kKeys)
      if (name == k.name) found = &k;
    if (found == nullptr)
      return "key: \"" + std::string(words::trim(rest)) +
             "\" is no key; expected ENTER, TAB, SHIFT+TAB, ESC or BACKSPACE";
    postMessage(target, WM_KEYDOWN, found->key, found->modifiers);
  } else if (verb == "select") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    auto* list = dynamic_cast<ComboBox*>(window);
    if (list == nullptr) return "select: control " + std::to_string(window->id()) + " is no list";
    std::optional<int> index = words::toInt(words::trim(rest));
    if (!index || *index < -1 || *index >= list->count())
      return "select: \"" + std::string(words::trim(rest)) + "\" is no entry of list " +
             std::to_string(window->id()) + " (0 to " + std::to_string(list->count() - 1) +
             ", or -1 for none)";
    list->pick(*index);
  } else if (verb == "click") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (!words::trim(rest).empty()) return "click takes one control id";
    if (dynamic_cast<UpDown*>(window) != nullptr)
      return "click: control " + std::to_string(window->id()) +
             " is an up-down; use spin ID up|down";
    postMessage(window, WM_LBUTTONDOWN);
  } else if (verb == "spin") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (dynamic_cast<UpDown*>(window) == nullptr)
      return "spin: control " + std::to_string(window->id()) + " is no up-down";
    const std::string direction = words::lower(words::trim(rest));
    if (direction != "up" && direction != "down") return "spin: say up or down";
    postMessage(window, WM_LBUTTONDOWN, 0, direction == "up" ? kUpperArrow : kLowerArrow);
  } else if (verb == "set") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (dynamic_cast<Edit*>(window) == nullptr)
      return "set: control " + std::to_string(window->id()) + " is no edit";
    std::string text;
    if (!toCp936(rest, &text)) return reason;
    postMessage(this, WM_NEXTDLGCTL, static_cast<std::uintptr_t>(window->id()), 1);
    if (text.empty())
      postMessage(window, WM_KEYDOWN, key::kBackspace);
    else
      postCharacters(window, text);
  } else {
    return "unknown dialog event \"" + std::string(words::trim(line)) + "\"; expected " +
           kEventList;
  }
  pumpMessages();
  return {};
}

void Dialog::show() const {
  std::string shown = "\n" + describe() + " [x]\n";
  for (const auto& window : controls_) {
    shown += "  " + window->describe();
    if (window.get() == focus_) shown += "  <focus>";
    shown += "\n";
  }
  cad::commandLine().printUtf8(shown);
}

std::string Dialog::describe() const {
  return "dialog \"" + cad::cp936ToUtf8Lossy(text()) + "\"";
}

}  // namespace ui
