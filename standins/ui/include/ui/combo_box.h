#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window.h"

namespace ui {

// Class "ComboBox" as a drop-down list: entries (code page 936) in the order
// added (the template never asks for sorting here) and one current selection,
// -1 for none. Its list is never shown dropped down, so Enter on it reaches
// the dialog. With the focus, Up and Down pick the previous and next entry,
// and typed characters pick the first entry whose text, or short name, starts
// with what was typed since the focus came (or with the last character alone
// when nothing starts with all of it).
class ComboBox : public Window {
 public:
  static const RuntimeClass kClass;
  ComboBox(const ControlTemplate& control, Dialog* parent);
  const RuntimeClass* runtimeClass() const override;

  // Appends an entry and returns its index.
  int addString(std::string_view entry);
  // Gives entry `index` a short ASCII name that typing may use; false when
  // there is no such entry.
  bool setEntryKey(int index, std::string_view key);
  // The short name of entry `index` (ASCII); empty when it has none.
  const std::string& entryKey(int index) const;
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
  void focusGained(bool selectAll) override;

 private:
  // Selects `index` and tells the dialog (CBN_SELCHANGE).
  void selectAndNotify(int index);
  // The first entry that `typed` (code page 936) starts, or -1.
  int entryStartingWith(std::string_view typed) const;

  std::vector<std::string> entries_;
  std::vector<std::string> keys_;
  std::string typed_;
  int selection_ = -1;
};

}  // namespace ui
