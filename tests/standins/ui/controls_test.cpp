#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/styles.h"
#include "ui/up_down.h"

namespace {

ui::ControlTemplate control(const char* className, std::uint32_t style) {
  ui::ControlTemplate t;
  t.id = 1;
  t.className = className;
  t.style = style;
  return t;
}

TEST(Edit, TypingReplacesTheSelectionAndBackspaceDeletesItOrOneCharacter) {
  ui::Edit edit(control("Edit", 0), nullptr);
  edit.setText("abcdef");
  EXPECT_EQ(edit.selectionEnd(), 0) << "setText puts the caret at the start";
  edit.setSelection(1, 4);
  EXPECT_TRUE(edit.typeCharacter('X'));
  EXPECT_EQ(edit.text(), "aXef");
  EXPECT_EQ(edit.selectionStart(), 2);
  EXPECT_TRUE(edit.backspace());
  EXPECT_EQ(edit.text(), "aef");
  edit.setSelection(0, -1);
  EXPECT_TRUE(edit.wholeTextSelected());
  EXPECT_TRUE(edit.backspace());
  EXPECT_EQ(edit.text(), "");
  EXPECT_FALSE(edit.backspace()) << "nothing before the caret";
  EXPECT_FALSE(edit.typeCharacter(0x16)) << "control characters insert nothing";
  EXPECT_EQ(edit.text(), "");
}

TEST(Edit, DoubleByteCharactersAreNeverSplit) {
  ui::Edit edit(control("Edit", 0), nullptr);
  edit.setText(
      "a\xB7\xD6"
      "b");                 // a 分 b
  edit.setSelection(2, 2);  // inside 分: moves to its start
  EXPECT_EQ(edit.selectionStart(), 1);
  edit.setSelection(3, 3);  // after 分
  EXPECT_TRUE(edit.backspace());
  EXPECT_EQ(edit.text(), "ab") << "the double-byte character went whole";
  EXPECT_TRUE(edit.typeCharacter(0xB7D6));
  EXPECT_EQ(edit.text(),
            "a\xB7\xD6"
            "b");
  EXPECT_EQ(edit.sendMessage(ui::EM_GETSEL), (3 << 16) | 3);
}

TEST(Edit, ReadOnlyRefusesEveryChangeByTheUserButCanBeSelectedIn) {
  ui::Edit edit(control("Edit", ui::style::kEditReadOnly), nullptr);
  edit.setText("12");
  edit.sendMessage(ui::EM_SETSEL, 0, -1);
  EXPECT_TRUE(edit.wholeTextSelected());
  EXPECT_FALSE(edit.typeCharacter('3'));
  EXPECT_FALSE(edit.backspace());
  EXPECT_FALSE(edit.paste("9"));
  EXPECT_EQ(edit.text(), "12");
  EXPECT_TRUE(edit.canTakeFocus());
}

TEST(Edit, PasteReplacesTheSelectionWithOneLine) {
  ui::Edit edit(control("Edit", 0), nullptr);
  edit.setText("scale");
  edit.setSelection(0, -1);
  EXPECT_TRUE(edit.paste("-1e5\nsecond line"));
  EXPECT_EQ(edit.text(), "-1e5");
}

TEST(ComboBox, SetCurrentSelectionClearsForMinusOneAndOutOfRange) {
  ui::ComboBox list(control("ComboBox", ui::style::kDropDownList), nullptr);
  for (const char* entry : {"a", "b", "c"})
    list.sendMessage(ui::CB_ADDSTRING, 0, reinterpret_cast<std::intptr_t>(entry));
  EXPECT_EQ(list.sendMessage(ui::CB_GETCOUNT), 3);
  struct Case {
    std::intptr_t index;
    std::intptr_t answer;
    int selected;
  };
  const Case cases[] = {{2, 2, 2}, {-1, -1, -1}, {0, 0, 0}, {3, -1, -1}, {1, 1, 1}, {-5, -1, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(list.sendMessage(ui::CB_SETCURSEL, static_cast<std::uintptr_t>(c.index)), c.answer)
        << c.index;
    EXPECT_EQ(list.sendMessage(ui::CB_GETCURSEL), c.selected) << c.index;
  }
  EXPECT_TRUE(list.pick(1));
  EXPECT_FALSE(list.pick(3));
  EXPECT_EQ(list.currentSelection(), 1) << "a refused pick changes nothing";
}

TEST(UpDown, WithoutADialogMovesWithinItsRange) {
  ui::UpDown spin(control("msctls_updown32", 0), nullptr);
  spin.setRange(0, 2);
  EXPECT_TRUE(spin.clickArrow(ui::kUpperArrow));
  EXPECT_TRUE(spin.clickArrow(ui::kUpperArrow));
  EXPECT_TRUE(spin.clickArrow(ui::kUpperArrow));
  EXPECT_EQ(spin.position(), 2) << "kept within the range";
  EXPECT_TRUE(spin.clickArrow(ui::kLowerArrow));
  EXPECT_EQ(spin.position(), 1);
}

TEST(Button, GroupBoxTakesNoFocusAndPushButtonDoes) {
  ui::Button group(control("Button", ui::style::kGroupBox), nullptr);
  ui::Button push(control("Button", ui::style::kPushButton | ui::style::kTabStop), nullptr);
  EXPECT_TRUE(group.isGroupBox());
  EXPECT_FALSE(group.canTakeFocus());
  EXPECT_FALSE(push.isGroupBox());
  EXPECT_TRUE(push.canTakeFocus());
}

}  // namespace
