// The events a user gives an open dialog, one line each, and how the dialog
// shows itself on the command line.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "answer_words.h"
#include "base/result.h"
#include "base/status.h"
#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "dialog_screen.h"
#include "text/code_page.h"
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
  const std::string text = text::cp936ToUtf8Lossy(window.text());
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
        entries += (entries.empty() ? "" : "/") + text::cp936ToUtf8Lossy(entry);
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

bool rowsOverlap(const DialogRect& a, const DialogRect& b) {
  return a.y < b.y + b.height && b.y < a.y + a.height;
}

// One event line being applied: the dialog, where typed keys go (the focus,
// else the dialog), the lower-case verb and what follows it.
struct EventLine {
  Dialog& dialog;
  Window* target;
  std::string verb;
  std::string_view rest;
};

// Each verb's step refuses the line, saying why, before changing anything.
using EventStep = base::Status (*)(EventLine&);

// The control named by the next word of `event.rest`, which then drops it;
// fails when the word names none.
base::Result<Window*> takeControl(EventLine& event) {
  const std::string_view idWord = words::firstWord(event.rest, &event.rest);
  const std::optional<int> id = words::toInt(idWord);
  if (!id)
    return base::Status::error(event.verb + ": \"" + std::string(idWord) +
                               "\" is not a control id");
  Window* window = event.dialog.control(*id);
  if (window == nullptr)
    return base::Status::error(event.verb + ": the dialog has no control " + std::to_string(*id));
  return window;
}

base::Result<std::string> toCp936(const EventLine& event, std::string_view utf8) {
  std::optional<std::string> converted = text::utf8ToCp936(utf8);
  if (!converted)
    return base::Status::error(event.verb + ": \"" + std::string(utf8) +
                               "\" holds a character that code page 936 cannot hold");
  return *std::move(converted);
}

void postCharacters(Dialog& dialog, Window* window, const std::string& cp936) {
  for (unsigned code : text::cp936::characterCodes(cp936))
    dialog.postMessage(window, WM_CHAR, code);
}

base::Status showDialog(EventLine& event) {
  if (!text::trimBlanks(event.rest).empty())
    return base::Status::error("show takes nothing after it");
  event.dialog.show();
  return base::Status::ok();
}

base::Status listControls(EventLine& event) {
  cad::commandLine().printUtf8(event.dialog.controlList());
  return base::Status::ok();
}

base::Status closeDialog(EventLine& event) {
  if (!text::trimBlanks(event.rest).empty())
    return base::Status::error("close takes nothing after it");
  event.dialog.postMessage(&event.dialog, WM_CLOSE);
  return base::Status::ok();
}

base::Status focusControl(EventLine& event) {
  const base::Result<Window*> window = takeControl(event);
  if (!window.isOk()) return window.status();
  if (!(*window)->canTakeFocus())
    return base::Status::error("focus: control " + std::to_string((*window)->id()) +
                               " takes no focus");
  event.dialog.postMessage(&event.dialog, WM_NEXTDLGCTL,
                           static_cast<std::uintptr_t>((*window)->id()), 1);
  return base::Status::ok();
}

base::Status typeText(EventLine& event) {
  const base::Result<std::string> text = toCp936(event, event.rest);
  if (!text.isOk()) return text.status();
  if (text->empty()) return base::Status::error("type: nothing to type");
  postCharacters(event.dialog, event.target, *text);
  return base::Status::ok();
}

base::Status pasteText(EventLine& event) {
  base::Result<std::string> text = toCp936(event, event.rest);
  if (!text.isOk()) return text.status();
  event.dialog.postMessage(event.target, WM_PASTE, 0, 0, std::move(text).value());
  return base::Status::ok();
}

base::Status pressKey(EventLine& event) {
  const std::string name = words::lower(text::trimBlanks(event.rest));
  for (const KeyName& k : kKeys) {
    if (name != k.name) continue;
    event.dialog.postMessage(event.target, WM_KEYDOWN, k.key, k.modifiers);
    return base::Status::ok();
  }
  return base::Status::error("key: \"" + std::string(text::trimBlanks(event.rest)) +
                             "\" is no key; expected ENTER, TAB, SHIFT+TAB, ESC or BACKSPACE");
}

base::Status selectEntry(EventLine& event) {
  const base::Result<Window*> window = takeControl(event);
  if (!window.isOk()) return window.status();
  auto* list = dynamic_cast<ComboBox*>(*window);
  if (list == nullptr)
    return base::Status::error("select: control " + std::to_string((*window)->id()) +
                               " is no list");
  const std::optional<int> index = words::toInt(text::trimBlanks(event.rest));
  if (!index || *index < -1 || *index >= list->count())
    return base::Status::error("select: \"" + std::string(text::trimBlanks(event.rest)) +
                               "\" is no entry of list " + std::to_string((*window)->id()) +
                               " (0 to " + std::to_string(list->count() - 1) + ", or -1 for none)");
  list->pick(*index);
  return base::Status::ok();
}

base::Status clickControl(EventLine& event) {
  const base::Result<Window*> window = takeControl(event);
  if (!window.isOk()) return window.status();
  if (!text::trimBlanks(event.rest).empty())
    return base::Status::error("click takes one control id");
  if (dynamic_cast<UpDown*>(*window) != nullptr)
    return base::Status::error("click: control " + std::to_string((*window)->id()) +
                               " is an up-down; use spin ID up|down");
  event.dialog.postMessage(*window, WM_LBUTTONDOWN);
  return base::Status::ok();
}

base::Status spinUpDown(EventLine& event) {
  const base::Result<Window*> window = takeControl(event);
  if (!window.isOk()) return window.status();
  if (dynamic_cast<UpDown*>(*window) == nullptr)
    return base::Status::error("spin: control " + std::to_string((*window)->id()) +
                               " is no up-down");
  const std::string direction = words::lower(text::trimBlanks(event.rest));
  if (direction != "up" && direction != "down") return base::Status::error("spin: say up or down");
  event.dialog.postMessage(*window, WM_LBUTTONDOWN, 0,
                           direction == "up" ? kUpperArrow : kLowerArrow);
  return base::Status::ok();
}

// Focuses an edit and replaces its text, as a person selecting all and typing.
base::Status setEditText(EventLine& event) {
  const base::Result<Window*> window = takeControl(event);
  if (!window.isOk()) return window.status();
  if (dynamic_cast<Edit*>(*window) == nullptr)
    return base::Status::error("set: control " + std::to_string((*window)->id()) + " is no edit");
  const base::Result<std::string> text = toCp936(event, event.rest);
  if (!text.isOk()) return text.status();
  event.dialog.postMessage(&event.dialog, WM_NEXTDLGCTL,
                           static_cast<std::uintptr_t>((*window)->id()), 1);
  if (text->empty())
    event.dialog.postMessage(*window, WM_KEYDOWN, key::kBackspace);
  else
    postCharacters(event.dialog, *window, *text);
  return base::Status::ok();
}

struct EventVerb {
  const char* name;
  EventStep apply;
  bool pumps;  // whether the messages it posted are handled at once
};

const EventVerb kVerbs[] = {
    {"show", showDialog, false},   {"?", listControls, false},    {"close", closeDialog, true},
    {"focus", focusControl, true}, {"type", typeText, true},      {"paste", pasteText, true},
    {"key", pressKey, true},       {"select", selectEntry, true}, {"click", clickControl, true},
    {"spin", spinUpDown, true},    {"set", setEditText, true},
};

const EventVerb* findVerb(std::string_view verb) {
  for (const EventVerb& v : kVerbs)
    if (verb == v.name) return &v;
  return nullptr;
}

}  // namespace

bool isDialogEventVerb(std::string_view verb) {
  return findVerb(verb) != nullptr;
}

base::Status Dialog::applyEvent(std::string_view line) {
  if (!open_) return base::Status::error("the dialog is not open");
  EventLine event{*this, focus_ != nullptr ? focus_ : this, {}, {}};
  event.verb = words::lower(words::firstWord(line, &event.rest));
  const EventVerb* verb = findVerb(event.verb);
  if (verb == nullptr)
    return base::Status::error("unknown dialog event \"" + std::string(text::trimBlanks(line)) +
                               "\"; expected " + kEventList);
  if (base::Status applied = verb->apply(event); !applied.isOk()) return applied;
  if (verb->pumps) pumpMessages();
  return base::Status::ok();
}

void Dialog::show() const {
  std::string shown = "\n" + describe() + " [x]\n";
  for (const auto& window : controls_) {
    shown += "  " + window->describe();
    if (window.get() == focus_) shown += "  <focus>";
    shown += "\n";
  }
  if (!note_.empty()) shown += "  note: " + text::cp936ToUtf8Lossy(note_) + "\n";
  cad::commandLine().printUtf8(shown);
}

std::string Dialog::layout(std::string_view status) const {
  std::string shown = "── " + text::cp936ToUtf8Lossy(text()) + " ──\n";
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
  if (!note_.empty()) shown += "  " + text::cp936ToUtf8Lossy(note_) + "\n";
  for (const auto& line : statusLines_) shown += "  " + text::cp936ToUtf8Lossy(line.second) + "\n";
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

std::string Dialog::describe() const {
  return "dialog \"" + text::cp936ToUtf8Lossy(text()) + "\"";
}

}  // namespace ui
