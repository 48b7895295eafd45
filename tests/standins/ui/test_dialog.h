#pragma once

#include <string>
#include <vector>

#include "scripted_input.h"
#include "ui/application.h"
#include "ui/dialog.h"
#include "ui/library.h"
#include "ui/resource_table.h"
#include "ui/styles.h"

namespace testing_ui {

namespace style = ui::style;

// A small form: a name edit, a read-only edit, a list, a number edit with an
// up-down, and two buttons. Entry 1 of the list is 分米 in code page 936.
inline constexpr int kTestDialogId = 7;
inline constexpr int kNameEdit = 100;
inline constexpr int kShownEdit = 101;
inline constexpr int kChoiceList = 102;
inline constexpr int kNumberEdit = 103;
inline constexpr int kNumberSpin = 104;
inline constexpr int kApplyButton = 105;
inline constexpr int kQuitButton = 106;

inline const ui::ControlTemplate kTestControls[] = {
    {ui::kNoControlId, "Button", "frame", {1, 1, 100, 100}, style::kGroupBox},
    {ui::kNoControlId, "Static", "Name:", {2, 2, 20, 10}, style::kStaticLeft},
    {kNameEdit, "Edit", "", {2, 12, 40, 12}, style::kBorder | style::kTabStop},
    {kShownEdit, "Edit", "", {2, 26, 40, 12}, style::kBorder | style::kEditReadOnly},
    {kChoiceList, "ComboBox", "", {2, 40, 40, 30}, style::kDropDownList | style::kTabStop},
    {kNumberEdit, "Edit", "", {2, 54, 40, 12}, style::kBorder | style::kTabStop},
    {kNumberSpin, "msctls_updown32", "Spin", {44, 54, 10, 12}, style::kUpDownArrowKeys},
    {kApplyButton, "Button", "Apply", {2, 70, 30, 14}, style::kPushButton | style::kTabStop},
    {kQuitButton, "Button", "Quit", {40, 70, 30, 14}, style::kPushButton | style::kTabStop},
};
inline const char* const kChoices[] = {"one", "\xB7\xD6\xC3\xD7", "three"};
inline const ui::ComboBoxInitData kTestInitData[] = {{kChoiceList, kChoices, {}}};
inline const ui::DialogTemplate kTestDialogs[] = {
    {kTestDialogId,
     "Test form",
     style::kPopup | style::kCaption,
     "Sans",
     9,
     {0, 0, 120, 100},
     kTestControls,
     kTestInitData},
};
inline const ui::ResourceTable kTestResources{kTestDialogs, "testmodule"};

// An application registered and the library started on kTestResources for
// the lifetime of this object.
class StartedLibrary {
 public:
  StartedLibrary() { started_ = ui::startLibrary(&instance_, &kTestResources, ""); }
  ~StartedLibrary() { ui::stopLibrary(); }
  bool started() const { return started_; }

 private:
  ui::Application application_;
  int instance_ = 0;
  bool started_ = false;
};

// The form's dialog: records every message its pre-translation sees and
// every command and notification, and keeps a name and a number as fields.
class TestForm : public ui::Dialog {
 public:
  TestForm() : Dialog(kTestDialogId) {}

  std::string name = "first";
  int number = 5;
  int choice = -1;
  bool consumeCharacters = false;  // pre-translation eats every WM_CHAR
  bool digitsOnly = false;         // it eats printable characters but digits and '.'
  std::vector<unsigned> seen;      // message codes seen by pre-translation
  std::vector<int> commands;       // ids of WM_COMMAND
  std::vector<int> deltas;         // up-down deltas notified
  std::intptr_t deltaAnswer = 0;

  bool exchangeData(bool saving) override;

 protected:
  bool preTranslateMessage(const ui::Message& message) override {
    seen.push_back(message.code);
    if (message.code != ui::WM_CHAR) return false;
    const std::uintptr_t c = message.wParam;
    const bool numberCharacter = (c >= '0' && c <= '9') || c == '.' || c < 0x20;
    return consumeCharacters || (digitsOnly && !numberCharacter);
  }
  void onCommand(int id, int notifyCode) override {
    commands.push_back(id);
    if (id == kQuitButton) endDialog(ui::kIdCancel);
    Dialog::onCommand(id, notifyCode);
  }
  std::intptr_t onNotify(const ui::NotifyHeader& header) override {
    if (header.code == ui::UDN_DELTAPOS)
      deltas.push_back(reinterpret_cast<const ui::NotifyUpDown&>(header).delta);
    return deltaAnswer;
  }
};

}  // namespace testing_ui
