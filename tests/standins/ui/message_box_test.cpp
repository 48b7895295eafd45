#include "ui/message_box.h"

#include <gtest/gtest.h>

#include "cad/command_line.h"
#include "scripted_input.h"
#include "ui/messages.h"

namespace testing_ui {
namespace {

TEST(MessageBox, AnswersFromTheInputSource) {
  struct Case {
    unsigned type;
    const char* answer;  // null: *cancel*
    int result;
  };
  const Case cases[] = {
      {ui::kMessageBoxOk, "ok", ui::kIdOk},
      {ui::kMessageBoxOk, " OK ", ui::kIdOk},
      {ui::kMessageBoxOk, "", ui::kIdOk},
      {ui::kMessageBoxOk, nullptr, ui::kIdOk},
      {ui::kMessageBoxYesNo, "yes", ui::kIdYes},
      {ui::kMessageBoxYesNo, "No", ui::kIdNo},
      {ui::kMessageBoxYesNo, "", ui::kIdYes},
      {ui::kMessageBoxYesNo, nullptr, ui::kIdNo},
      {ui::kMessageBoxYesNo, "Y", ui::kIdYes},
      {ui::kMessageBoxYesNo, "n", ui::kIdNo},
      {ui::kMessageBoxYesNo, "是", ui::kIdYes},
      {ui::kMessageBoxYesNo, " 否 ", ui::kIdNo},
      {ui::kMessageBoxYesNo, "key ENTER", ui::kIdYes},
      {ui::kMessageBoxOk, "key ENTER", ui::kIdOk},
      // A destructive question: Enter is No, the explicit answers stay.
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "", ui::kIdNo},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "key enter", ui::kIdNo},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "y", ui::kIdYes},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "是", ui::kIdYes},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "yes", ui::kIdYes},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, "no", ui::kIdNo},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2, nullptr, ui::kIdNo},
  };
  for (const Case& c : cases) {
    InstalledInput input;
    if (c.answer != nullptr)
      input->line(c.answer);
    else
      input->cancel();
    EXPECT_EQ(ui::messageBox("text", "caption", c.type), c.result)
        << (c.answer ? c.answer : "*cancel*");
    EXPECT_TRUE(input->rejected().empty());
  }
}

TEST(MessageBox, EndOfInputGivesTheCancelAnswer) {
  InstalledInput input;
  EXPECT_EQ(ui::messageBox("t", "c", ui::kMessageBoxYesNo), ui::kIdNo);
  EXPECT_EQ(ui::messageBox("t", "c", ui::kMessageBoxOk), ui::kIdOk);
}

TEST(MessageBox, RefusesOtherAnswersAndATerminalIsAskedAgain) {
  {
    InstalledInput script;
    script->line("maybe").line("yes");
    EXPECT_EQ(ui::messageBox("t", "c", ui::kMessageBoxYesNo), ui::kIdNo) << "a script ends";
    ASSERT_EQ(script->rejected().size(), 1u);
    EXPECT_NE(script->rejected()[0].find("takes yes or no"), std::string::npos);
  }
  InstalledInput terminal(/*interactive=*/true);
  terminal->line("ok").line("yes");
  EXPECT_EQ(ui::messageBox("t", "c", ui::kMessageBoxYesNo), ui::kIdYes);
  EXPECT_EQ(terminal->rejected().size(), 1u);
}

TEST(MessageBox, PrintsCaptionIconTextAndButtonsInUtf8) {
  InstalledInput input;
  input->line("no");
  // 是否覆盖? in code page 936.
  ui::messageBox("\xCA\xC7\xB7\xF1\xB8\xB2\xB8\xC7?", "tavrin",
                 ui::kMessageBoxYesNo | ui::kIconExclamation);
  EXPECT_NE(
      cad::commandLine().transcript().find("message box \"tavrin\" (!): 是否覆盖?  [Yes] [No]"),
      std::string::npos)
      << cad::commandLine().transcript();
}

}  // namespace
}  // namespace testing_ui
