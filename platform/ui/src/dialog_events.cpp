// The events a user gives an open dialog, one line each, and how the dialog
// shows itself on the command line.
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "answer_words.h"
#include "cad/code_page.h"
#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "text/cp936.h"
#include "text/trim.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/edit.h"
#include "ui/static_control.h"
#include "ui/up_down.h"

namespace ui {

namespace {

const char kEventList[] =
    "focus ID, type TEXT, key ENTER|TAB|SHIFT+TAB|ESC|BACKSPACE|UP|DOWN, paste TEXT, "
    "select ID N, click ID, spin ID up|down, close, set ID TEXT, show or ?";

const char* const kVerbs[] = {"show",   "close", "focus", "type", "paste", "key",
                              "select", "click", "spin",  "set",  "?"};

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
    {"up", key::kUp, 0},
    {"down", key::kDown, 0},
};

// How one control reads in the laid-out dialog; empty for none.
std::string cellOf(const Window& window, bool focused) {
  const std::string text = cad::cp936ToUtf8Lossy(window.text());
  std::string cell;
  if (dynamic_cast<const StaticControl*>(&window) != nullptr) return text;
  if (const auto* button = dynamic_cast<const Button*>(&window)) {
    if (button->isGroupBox()) return {};
    cell = "[" + text + "]";
  } else if (const auto* edit = dynamic_cast<const Edit*>(&window)) {
    if (edit->isReadOnly()) return text;
    cell = "[" + text + std::string(text.size() < 6 ? 6 - text.size() : 0, ' ') + "]";
  } else if (const auto* list = dynamic_cast<const ComboBox*>(&window)) {
    cell = "<" + text + ">";
    if (focused) {
      std::string entries;
      for (const std::string& entry : list->entries())
        entries += (entries.empty() ? "" : "/") + cad::cp936ToUtf8Lossy(entry);
      return "»" + cell + "«  ↑↓ or type: " + entries;
    }
  } else if (dynamic_cast<const UpDown*>(&window) != nullptr) {
    return "↑↓";
  } else {
    cell = text;
  }
  return focused ? "»" + cell + "«" : cell;
}

enum class CellKind { kLabel, kButton, kOther };

CellKind kindOf(const Window& window) {
  if (dynamic_cast<const StaticControl*>(&window) != nullptr) return CellKind::kLabel;
  if (dynamic_cast<const Button*>(&window) != nullptr) return CellKind::kButton;
  return CellKind::kOther;
}

// The rows `text` (UTF-8) takes on the terminal, long lines wrapping.
long screenRows(std::string_view text) {
  struct winsize size {};
  const long columns =
      ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
  long rows = 0, width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      rows += width == 0 ? 1 : (width + columns - 1) / columns;
      width = 0;
    } else if ((byte & 0xC0) != 0x80) {
      // Decode the character that starts here.
      const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
      char32_t code = length == 1 ? byte : byte & (0x7F >> length);
      for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k)
        code = (code << 6) |
               (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
      width += cad::terminalColumns(code);
    }
  }
  return rows;
}

bool rowsOverlap(const DialogRect& a, const DialogRect& b) {
  return a.y < b.y + b.height && b.y < a.y + a.height;
}

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
    if (!text::trimBlanks(rest).empty()) return "show takes nothing after it";
    show();
    return {};
  }
  if (verb == "?") {
    cad::commandLine().printUtf8(controlList());
    return {};
  }
  if (verb == "close") {
    if (!text::trimBlanks(rest).empty()) return "close takes nothing after it";
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
    const std::string name = words::lower(text::trimBlanks(rest));
    const KeyName* found = nullptr;
    for (const KeyName& k : kKeys)
      if (name == k.name) found = &k;
    if (found == nullptr)
      return "key: \"" + std::string(text::trimBlanks(rest)) +
             "\" is no key; expected ENTER, TAB, SHIFT+TAB, ESC or BACKSPACE";
    postMessage(target, WM_KEYDOWN, found->key, found->modifiers);
  } else if (verb == "select") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    auto* list = dynamic_cast<ComboBox*>(window);
    if (list == nullptr) return "select: control " + std::to_string(window->id()) + " is no list";
    std::optional<int> index = words::toInt(text::trimBlanks(rest));
    if (!index || *index < -1 || *index >= list->count())
      return "select: \"" + std::string(text::trimBlanks(rest)) + "\" is no entry of list " +
             std::to_string(window->id()) + " (0 to " + std::to_string(list->count() - 1) +
             ", or -1 for none)";
    list->pick(*index);
  } else if (verb == "click") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (!text::trimBlanks(rest).empty()) return "click takes one control id";
    if (dynamic_cast<UpDown*>(window) != nullptr)
      return "click: control " + std::to_string(window->id()) +
             " is an up-down; use spin ID up|down";
    postMessage(window, WM_LBUTTONDOWN);
  } else if (verb == "spin") {
    Window* window = takeControl(&rest);
    if (window == nullptr) return reason;
    if (dynamic_cast<UpDown*>(window) == nullptr)
      return "spin: control " + std::to_string(window->id()) + " is no up-down";
    const std::string direction = words::lower(text::trimBlanks(rest));
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
    return "unknown dialog event \"" + std::string(text::trimBlanks(line)) + "\"; expected " +
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

std::string Dialog::layout(std::string_view status) const {
  std::string shown = "── " + cad::cp936ToUtf8Lossy(text()) + " ──\n";
  std::string row;
  const Window* previous = nullptr;
  for (const auto& window : controls_) {
    const std::string cell = cellOf(*window, window.get() == focus_);
    if (cell.empty()) continue;
    const CellKind kind = kindOf(*window);
    bool newRow = previous == nullptr;
    if (previous != nullptr && kind == CellKind::kLabel)
      newRow =
          kindOf(*previous) != CellKind::kLabel && !rowsOverlap(previous->rect(), window->rect());
    if (previous != nullptr && kind == CellKind::kButton)
      newRow = kindOf(*previous) != CellKind::kButton;
    if (newRow && !row.empty()) {
      shown += "  " + row + "\n";
      row.clear();
    }
    if (!row.empty())
      row += previous != nullptr && kindOf(*previous) == CellKind::kLabel ? " " : "  ";
    row += cell;
    previous = window.get();
  }
  if (!row.empty()) shown += "  " + row + "\n";
  shown += "  Tab: next  ↑↓: change  text+Enter: fill  Enter: press  Esc: close  ?: ids\n";
  if (!status.empty()) shown += "  ! " + std::string(status) + "\n";
  return shown;
}

std::string Dialog::controlList() const {
  std::string shown = "Controls of " + describe() + ":\n";
  for (const auto& window : controls_)
    if (window->id() != kNoControlId) shown += "  " + window->describe() + "\n";
  shown += "Events: " + std::string(kEventList) + "\n";
  return shown;
}

void Dialog::drawOnScreen(std::string_view status) {
  cad::CommandLine& commandLine = cad::commandLine();
  const long since = commandLine.terminalLines() - drawnAtLine_;
  // Only the answer's line since the last drawing: draw over it.
  if (drawnAtLine_ >= 0 && since == drawnLines_ + 1)
    commandLine.echo("\x1b[" + std::to_string(drawnRows_ + 1) + "A\r\x1b[J");
  else
    cad::startNewLine();
  drawnAtLine_ = commandLine.terminalLines();
  const std::string shown = layout(status);
  drawnLines_ = static_cast<long>(std::count(shown.begin(), shown.end(), '\n'));
  drawnRows_ = screenRows(shown);
  commandLine.printUtf8(shown + "> ");
}

std::string Dialog::eventForTypedLine(std::string_view line) const {
  std::string_view rest;
  const std::string verb = words::lower(words::firstWord(line, &rest));
  for (const char* known : kVerbs)
    if (verb == known) return std::string(line);
  if (const auto* edit = dynamic_cast<const Edit*>(focus_); edit != nullptr && !edit->isReadOnly())
    return "set " + std::to_string(edit->id()) + " " + std::string(text::trimBlanks(line));
  if (dynamic_cast<const ComboBox*>(focus_) != nullptr)
    return "type " + std::string(text::trimBlanks(line));
  return std::string(line);
}

std::string Dialog::describe() const {
  return "dialog \"" + cad::cp936ToUtf8Lossy(text()) + "\"";
}

}  // namespace ui
