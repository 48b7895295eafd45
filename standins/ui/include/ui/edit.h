#pragma once

#include <string_view>

#include "ui/window.h"

namespace ui {

// Class "Edit": one line of code page 936 text with a caret and a selection.
// Offsets are bytes and always fall between characters. A typed character or
// a paste replaces the selection; Backspace deletes the selection or the
// character before the caret. A read-only edit takes the focus and can be
// selected in, but refuses every change by the user (setText() still works).
class Edit : public Window {
 public:
  static const RuntimeClass kClass;
  Edit(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;

  bool isReadOnly() const;
  // Replaces the text and puts the caret at its start, nothing selected.
  void setText(std::string_view text) override;

  // Selects from `start` to `end` (the caret goes to `end`); -1 as `end`, or
  // anything past the text, means its end. Offsets inside a double-byte
  // character move back to its start.
  void setSelection(int start, int end);
  int selectionStart() const { return selectionStart_; }
  int selectionEnd() const { return selectionEnd_; }
  bool wholeTextSelected() const;

  // What the user does; each answers false when it changes nothing.
  bool typeCharacter(unsigned character);  // a WM_CHAR code
  bool backspace();
  bool paste(std::string_view text);  // code page 936; stops at a line end

  std::intptr_t handleMessage(const Message& message) override;
  bool canTakeFocus() const override { return true; }
  void focusGained(bool selectAll) override;
  std::string describe() const override;

 private:
  void replaceSelection(std::string_view text);

  int selectionStart_ = 0;
  int selectionEnd_ = 0;
};

}  // namespace ui
