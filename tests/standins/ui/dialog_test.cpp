#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cad/command_line.h"
#include "test_dialog.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/up_down.h"

namespace testing_ui {
namespace {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library.started());
    const base::Status opened = form.open();
    ASSERT_TRUE(opened.isOk()) << opened.message();
  }

  ui::Edit& edit(int id) { return *form.findControl<ui::Edit>(id); }
  int focusId() const { return form.focus() != nullptr ? form.focus()->id() : 0; }
  void apply(std::string_view line) {
    const base::Status applied = form.applyEvent(line);
    ASSERT_TRUE(applied.isOk()) << line << ": " << applied.message();
  }

  StartedLibrary library;
  InstalledInput input;
  TestForm form;
};

TEST_F(DialogTest, OpensFromTheTemplateWithFieldsWrittenAndFocusOnTheFirstTabStop) {
  EXPECT_EQ(form.text(), "Test form");
  ASSERT_EQ(form.controls().size(), 9u);
  EXPECT_EQ(edit(kNameEdit).text(), "first");
  EXPECT_EQ(edit(kNumberEdit).text(), "5");
  auto list = form.findControl<ui::ComboBox>(kChoiceList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->entries(), (std::vector<std::string>{"one", "\xB7\xD6\xC3\xD7", "three"}));
  EXPECT_EQ(list->currentSelection(), -1);
  EXPECT_EQ(focusId(), kNameEdit);
  EXPECT_TRUE(edit(kNameEdit).wholeTextSelected());
  char name[32];
  EXPECT_EQ(form.control(kNumberSpin)->getClassName(name, sizeof name), 15);
  EXPECT_STREQ(name, "msctls_updown32");
  EXPECT_EQ(form.control(kNumberSpin)->getClassName(name, 4), 3) << "cut to the buffer";
  EXPECT_STREQ(name, "msc");
}

TEST_F(DialogTest, TabAndShiftTabWalkTheTabStopsInTemplateOrderAndWrap) {
  struct Step {
    const char* key;
    int focus;
  };
  const Step steps[] = {{"key TAB", kChoiceList},       {"key TAB", kNumberEdit},
                        {"key TAB", kApplyButton},      {"key TAB", kQuitButton},
                        {"key TAB", kNameEdit},         {"key SHIFT+TAB", kQuitButton},
                        {"key shift+tab", kApplyButton}};
  for (const Step& step : steps) {
    apply(step.key);
    EXPECT_EQ(focusId(), step.focus) << step.key;
  }
}

TEST_F(DialogTest, TabbingIntoAnEditSelectsItsWholeTextButClickingDoesNot) {
  apply("click 103");
  EXPECT_EQ(focusId(), kNumberEdit);
  EXPECT_FALSE(edit(kNumberEdit).wholeTextSelected());
  apply("key SHIFT+TAB");
  apply("key TAB");
  EXPECT_EQ(focusId(), kNumberEdit);
  EXPECT_TRUE(edit(kNumberEdit).wholeTextSelected());
  apply("type 7");
  EXPECT_EQ(edit(kNumberEdit).text(), "7") << "typing replaces the selection";
}

TEST_F(DialogTest, ReadOnlyEditTakesFocusByClickButNoTabAndRefusesEdits) {
  apply("click 101");
  EXPECT_EQ(focusId(), kShownEdit);
  edit(kShownEdit).setText("12");
  apply("type 9");
  apply("paste 34");
  apply("key BACKSPACE");
  EXPECT_EQ(edit(kShownEdit).text(), "12");
  apply("key TAB");
  EXPECT_EQ(focusId(), kChoiceList) << "the next tab stop after the read-only edit";
}

TEST_F(DialogTest, EscapeAndCloseGiveCancel) {
  for (const char* event : {"key ESC", "close"}) {
    ASSERT_TRUE(form.open().isOk());
    apply(event);
    EXPECT_TRUE(form.hasEnded()) << event;
    EXPECT_EQ(form.result(), ui::kIdCancel) << event;
  }
}

TEST_F(DialogTest, EnterPressesTheFocusedButtonOtherwiseGivesTheStandardOk) {
  apply("key TAB");
  apply("key TAB");
  apply("key TAB");  // Apply
  apply("key ENTER");
  EXPECT_EQ(form.commands, std::vector<int>{kApplyButton});
  EXPECT_FALSE(form.hasEnded());

  apply("select 102 2");
  apply("key ENTER");
  EXPECT_TRUE(form.hasEnded());
  EXPECT_EQ(form.result(), ui::kIdOk);
  EXPECT_EQ(form.choice, 2) << "the standard OK read the fields";
}

TEST_F(DialogTest, StandardOkStaysOpenWhenAFieldIsInvalid) {
  input->line("ok");
  apply("set 103 11");
  apply("key ENTER");
  EXPECT_FALSE(form.hasEnded());
  EXPECT_EQ(form.number, 11) << "the number read stays although the range check failed";
  EXPECT_EQ(focusId(), kNumberEdit);
  EXPECT_TRUE(edit(kNumberEdit).wholeTextSelected());
  EXPECT_NE(cad::commandLine().transcript().find("out of range"), std::string::npos);
}

TEST_F(DialogTest, PreTranslationSeesEveryMessageFirstAndCanConsumeIt) {
  form.consumeCharacters = true;
  apply("type ab");
  EXPECT_EQ(edit(kNameEdit).text(), "first") << "consumed before the edit saw them";
  apply("key BACKSPACE");
  // The key, then the character it produced, both through pre-translation.
  EXPECT_EQ(form.seen,
            (std::vector<unsigned>{ui::WM_CHAR, ui::WM_CHAR, ui::WM_KEYDOWN, ui::WM_CHAR}));
  form.seen.clear();
  apply("focus 103");
  apply("click 105");
  EXPECT_EQ(form.seen, (std::vector<unsigned>{ui::WM_NEXTDLGCTL, ui::WM_LBUTTONDOWN}));
}

TEST_F(DialogTest, PostedNextControlMessageMovesTheFocusWhenPumped) {
  ASSERT_TRUE(form.postMessage(&form, ui::WM_NEXTDLGCTL, 0, 0));
  EXPECT_EQ(focusId(), kNameEdit) << "posted, not yet handled";
  form.pumpMessages();
  EXPECT_EQ(focusId(), kChoiceList);
  form.postMessage(&form, ui::WM_NEXTDLGCTL, 1, 0);
  form.pumpMessages();
  EXPECT_EQ(focusId(), kNameEdit);
  form.postMessage(&form, ui::WM_NEXTDLGCTL, kNumberEdit, 1);
  form.pumpMessages();
  EXPECT_EQ(focusId(), kNumberEdit);
  EXPECT_TRUE(edit(kNumberEdit).wholeTextSelected());
}

TEST_F(DialogTest, UpDownArrowsRunBackwardsUnderTheDefaultRange) {
  auto spin = form.findControl<ui::UpDown>(kNumberSpin);
  EXPECT_EQ(spin->lower(), 100);
  EXPECT_EQ(spin->upper(), 0);
  apply("spin 104 up");
  apply("spin 104 down");
  EXPECT_EQ(form.deltas, (std::vector<int>{-1, +1}));
  EXPECT_EQ(spin->position(), 1) << "0 stays at the range's end, then one step";

  form.deltaAnswer = 1;
  apply("spin 104 down");
  EXPECT_EQ(spin->position(), 1) << "a non-zero answer forbids the move";
  spin->setRange(0, 10);
  form.deltas.clear();
  apply("spin 104 up");
  EXPECT_EQ(form.deltas, std::vector<int>{+1}) << "a rising range turns the arrows round";
}

TEST_F(DialogTest, SelectPicksAnEntryAndNotifiesTheDialog) {
  apply("select 102 1");
  auto list = form.findControl<ui::ComboBox>(kChoiceList);
  EXPECT_EQ(list->currentSelection(), 1);
  EXPECT_EQ(focusId(), kChoiceList);
  EXPECT_EQ(form.commands, std::vector<int>{kChoiceList});
  apply("select 102 -1");
  EXPECT_EQ(list->currentSelection(), -1);
}

TEST_F(DialogTest, ListKeysAndTypingPickEntriesAndArrowKeysSpinTheNumber) {
  auto list = form.findControl<ui::ComboBox>(kChoiceList);
  list->setEntryKey(1, "dm");
  apply("focus 102");
  const struct {
    const char* event;
    int selected;
  } steps[] = {
      {"key DOWN", 0},                                    // from none to the first
      {"key UP", 0},                                      // stays at the top
      {"key DOWN", 1}, {"key DOWN", 2}, {"key DOWN", 2},  // stays at the bottom
      {"type o", 0},                                      // the start of "one"
      {"type th", 2},                                     // "three"
      {"type 分", 1},                                     // a Chinese start
      {"type d", 1},                                      // the short name "dm"
      {"type x", 1},                                      // matches nothing: unchanged
      {"type t", 2},                                      // after a miss, the last character alone
  };
  for (const auto& step : steps) {
    apply(step.event);
    EXPECT_EQ(list->currentSelection(), step.selected) << step.event;
  }
  EXPECT_EQ(form.commands.size(), 7u) << "each change notifies the dialog once";

  // Up and Down on the number edit click its up-down's arrows; elsewhere
  // they do nothing.
  apply("focus 103");
  apply("key UP");
  apply("key DOWN");
  EXPECT_EQ(form.deltas, (std::vector<int>{-1, +1}));
  apply("focus 100");
  apply("key UP");
  EXPECT_EQ(form.deltas.size(), 2u);
}

TEST_F(DialogTest, MalformedEventsAreRefusedWithAReasonAndChangeNothing) {
  struct Case {
    const char* line;
    const char* reasonPart;
  };
  const Case cases[] = {
      {"jump 100", "unknown dialog event"},
      {"focus", "is not a control id"},
      {"focus 999", "no control 999"},
      {"focus abc", "is not a control id"},
      {"select 100 0", "is no list"},
      {"select 102 3", "is no entry"},
      {"select 102 x", "is no entry"},
      {"spin 100 up", "is no up-down"},
      {"spin 104 sideways", "up or down"},
      {"click 104", "use spin"},
      {"key F4", "is no key"},
      {"type", "nothing to type"},
      {"type \xF0\x9F\x98\x80", "code page 936 cannot hold"},
      {"set 102 1", "is no edit"},
      {"set 100 \xF0\x9F\x98\x80", "code page 936 cannot hold"},
      {"paste \xF0\x9F\x98\x80", "code page 936 cannot hold"},
      {"close now", "nothing after it"},
      {"show me", "nothing after it"},
      {"click 105 106", "one control id"},
      {"key", "is no key"},
  };
  for (const Case& c : cases) {
    const base::Status refused = form.applyEvent(c.line);
    EXPECT_FALSE(refused.isOk()) << c.line;
    const std::string& reason = refused.message();
    EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << c.line << " -> " << reason;
  }
  EXPECT_EQ(edit(kNameEdit).text(), "first");
  EXPECT_FALSE(form.hasEnded());
}

TEST_F(DialogTest, TypedTextArrivesInCodePage936OneCharacterPerMessage) {
  apply("set 100 a分b");
  EXPECT_EQ(edit(kNameEdit).text(),
            "a\xB7\xD6"
            "b");
  apply("key BACKSPACE");
  apply("key BACKSPACE");
  EXPECT_EQ(edit(kNameEdit).text(), "a") << "Backspace removes a double-byte character whole";
  apply("set 100");
  EXPECT_EQ(edit(kNameEdit).text(), "") << "set with no text clears the field";
}

TEST_F(DialogTest, ShowPrintsCaptionControlsAndFocus) {
  cad::commandLine().clear();
  apply("show");
  const std::string& shown = cad::commandLine().transcript();
  for (const char* part :
       {"dialog \"Test form\"", "100 edit \"first\" selected 0-5  <focus>",
        "101 edit \"\" read-only", "102 list [0:one | 1:分米 | 2:three] selected none",
        "105 button [Apply]", "- label \"Name:\"", "- group box \"frame\"", "104 up-down \"Spin\""})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
}

class ModalDialogTest : public ::testing::Test {
 protected:
  StartedLibrary library;
  InstalledInput input;
  TestForm form;
};

TEST_F(ModalDialogTest, RunsOnTheInputSourceAndKeepsItsFieldsForTheNextShowing) {
  input->line("set 100 second").line("set 103 8").line("key ENTER");
  EXPECT_EQ(form.doModal(), ui::kIdOk);
  EXPECT_EQ(form.name, "second");
  EXPECT_EQ(form.number, 8);
  EXPECT_FALSE(form.isOpen());

  input->check([&] {
    EXPECT_EQ(form.findControl<ui::Edit>(kNameEdit)->text(), "second");
    EXPECT_EQ(form.findControl<ui::Edit>(kNumberEdit)->text(), "8");
  });
  input->line("click 106");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  EXPECT_TRUE(input->rejected().empty());
  const std::string& transcript = cad::commandLine().transcript();
  EXPECT_NE(transcript.find("dialog \"Test form\" closed: OK"), std::string::npos);
  EXPECT_NE(transcript.find("dialog \"Test form\" closed: Cancel"), std::string::npos);
}

TEST_F(ModalDialogTest, CancelEndOfInputAndARefusedEventCloseWithCancel) {
  input->cancel();
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  EXPECT_EQ(form.doModal(), ui::kIdCancel) << "end of input";
  InstalledInput script;
  script->line("set 100 changed").line("bogus").line("key ENTER");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  ASSERT_EQ(script->rejected().size(), 1u);
  EXPECT_NE(script->rejected()[0].find("test:2: unknown dialog event"), std::string::npos);
  EXPECT_EQ(form.name, "first") << "cancelled: the fields were not read";
}

TEST_F(ModalDialogTest, APersonSeesTheLayoutTypesIntoTheFocusAndReadsRefusalsInIt) {
  InstalledInput terminal(/*interactive=*/true);
  terminal->line("bogus name")
      .line("key TAB")
      .line("three")
      .line("key UP")
      .line("select 100 1")
      .line("?")
      .line("key ESC");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  EXPECT_TRUE(terminal->rejected().empty()) << "a person is told in the dialog, not refused";
  const std::string& shown = cad::commandLine().transcript();
  const char* const inOrder[] = {
      "── Test form ──\n  Name: »[first ]«  <>  [5     ]  ↑↓\n  [Apply]  [Quit]\n",
      "Name: »[bogus name]«",              // a plain line fills the focused edit
      "»<>«  ↑↓ or type: one/分米/three",  // Tab reached the list, which shows its entries
      "»<three>«",                         // typing an entry's name picks it
      "»<分米>«",                          // Up picks the entry before
      "  ! select: control 100 is no list\n",
      "Controls of dialog \"Test form\":\n  100 edit \"bogus name\"",
      "closed: Cancel",
  };
  std::size_t at = 0;
  for (const char* part : inOrder) {
    at = shown.find(part, at);
    ASSERT_NE(at, std::string::npos) << "missing in order: " << part << "\n" << shown;
  }
  EXPECT_EQ(form.name, "first") << "cancelled: the fields were not read";
}

TEST_F(ModalDialogTest, TheOwnersNoteIsReadUnderTheFormAndInTheTranscript) {
  form.setNote("\xB7\xD6\xC3\xD7 proposed");  // 分米 in code page 936
  input->line("key ESC");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  EXPECT_NE(cad::commandLine().transcript().find("\n  note: 分米 proposed\n"), std::string::npos)
      << cad::commandLine().transcript();

  InstalledInput terminal(/*interactive=*/true);
  terminal->line("key TAB").line("key ESC");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  const std::string& shown = cad::commandLine().transcript();
  const std::size_t tabbed = shown.find("»<>«");
  ASSERT_NE(tabbed, std::string::npos) << shown;
  EXPECT_NE(shown.find("?: ids\n  分米 proposed\n", tabbed), std::string::npos)
      << "drawn again with the note after each event\n"
      << shown;

  form.setNote({});
  cad::commandLine().clear();
  input->line("key ESC");
  form.doModal();
  EXPECT_EQ(cad::commandLine().transcript().find("proposed"), std::string::npos);
}

TEST(DialogOpening, FailsWithAReasonWhenItCannotOpen) {
  InstalledInput input;
  {
    TestForm form;
    EXPECT_EQ(form.doModal(), -1) << "library not started";
    EXPECT_NE(cad::commandLine().transcript().find("library is not started"), std::string::npos);
  }
  StartedLibrary library;
  ui::Dialog missing(99);
  EXPECT_EQ(missing.doModal(), -1);
  EXPECT_NE(cad::commandLine().transcript().find("no dialog template of this id"),
            std::string::npos);
}

// What a person types is never changed silently: refused characters are
// named with what the field takes, a list is picked by a whole name or
// number, and a line the list does not know changes nothing.
TEST_F(ModalDialogTest, APersonIsToldWhatWasNotTakenAndWhatTheFieldTakes) {
  form.digitsOnly = true;
  InstalledInput terminal(/*interactive=*/true);
  struct Step {
    const char* line;
    const char* status;  // expected in the drawing after the line; empty: none
  };
  const Step steps[] = {
      {"-1e2,5", "  ! Name takes digits and '.'; '-', 'e' and ',' were not taken\n"},
      {"１２．５", ""},  // full-width digits are taken as ASCII, so nothing is refused
      {"key TAB", ""},
      {"three", ""},
      {"inch",
       "  ! \"inch\" is no entry of Name, which takes 0 one, 1 分米 and 2 three; "
       "nothing was changed\n"},
      {"分米", ""},
      {"0", ""},
      {"7", "  ! \"7\" is no entry"},
  };
  std::vector<std::string> drawings;
  for (const Step& step : steps) {
    terminal->line(step.line).check([&] {
      drawings.push_back(cad::commandLine().transcript());
      cad::commandLine().clear();
    });
  }
  terminal->check(
      [&] { EXPECT_EQ(form.findControl<ui::ComboBox>(kChoiceList)->currentSelection(), 0); });
  terminal->line("key ESC");
  form.doModal();
  ASSERT_EQ(drawings.size(), std::size(steps));
  const int picked[] = {-1, -1, -1, 2, 2, 1, 0, 0};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const std::string& shown = drawings[i];
    if (*steps[i].status != '\0')
      EXPECT_NE(shown.find(steps[i].status), std::string::npos) << steps[i].line << "\n" << shown;
    else
      EXPECT_EQ(shown.find("  ! "), std::string::npos) << steps[i].line << "\n" << shown;
    if (i >= 3) {
      const char* const names[] = {"one", "分米", "three"};
      EXPECT_NE(shown.find("»<" + std::string(names[picked[i]]) + ">«"), std::string::npos)
          << steps[i].line << "\n"
          << shown;
    }
  }
  EXPECT_NE(drawings[0].find("Name: »[125   ]«"), std::string::npos) << drawings[0];
  EXPECT_NE(drawings[1].find("Name: »[12.5  ]«"), std::string::npos) << drawings[1];
}

TEST_F(ModalDialogTest, StatusLinesOfSeveralOwnersCoexistForAPersonOnly) {
  form.setNote("note");
  form.setStatusLine("unit", "unit line");
  form.setStatusLine("base", "base line");
  form.setStatusLine("unit", "unit replaced");
  EXPECT_NE(form.layout({}).find("  note\n  unit replaced\n  base line\n"), std::string::npos)
      << form.layout({});
  form.setStatusLine("unit", {});
  EXPECT_EQ(form.layout({}).find("unit"), std::string::npos) << form.layout({});
  input->line("key ESC");
  form.doModal();
  EXPECT_EQ(cad::commandLine().transcript().find("base line"), std::string::npos)
      << "a script's transcript stays as it was";
}

}  // namespace
}  // namespace testing_ui
