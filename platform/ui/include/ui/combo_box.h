#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window.h"

namespace ui {

// Class "ComboBox" as a drop-down list: entries (code page 936) in the order
// added (the template never asks for sorting here) and one current selection,
// -1 for none. Its list is never shown dropped down, so Enter on it reaches
// the dialog.
class ComboBox : public Window {
 public:
  static const RuntimeClass kClass;
  ComboBox(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;

  // Appends an entry and returns its index.
  int addString(std::string_view entry);
  int count() const { return static_cast<int>(entries_.size()); }
  const std::vector<std::string>& entries() const { return entries_; }
  // CB_SETCURSEL: selects `index`; -1, or an index out of range, clears the
  // selection and answers -1. Otherwise answers `index`.
  int setCurrentSelection(int index);
  // CB_GETCURSEL: the selected index, -1 when none.
  int currentSelection() const { return selection_; }
  // The user picks entry `index`: focus, selection, CBN_SELCHANGE to the
  // dialog. False (nothing done) for an index out of range.
  bool pick(int index);

  std::intptr_t handleMessage(const Message& message) override;
  bool canTakeFocus() const override { return true; }
  std::string describe() const override;

 private:
  std::vector<std::string> entries_;
  int selection_ = -1;
};

}  // namespace ui
