// What the dialog, the message box and the open-file dialog tell a front end
// while they wait for answers.

#include "ui/dialog_view.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cad/asking.h"
#include "test_dialog.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/messages.h"

namespace testing_ui {
namespace {

// Records everything it is told.
class Recorder final : public ui::DialogObserver, public cad::AskingObserver {
 public:
  Recorder() {
    ui::setDialogObserver(this);
    cad::setAskingObserver(this);
  }
  ~Recorder() override {
    ui::setDialogObserver(nullptr);
    cad::setAskingObserver(nullptr);
  }
  void dialogChanged(const ui::DialogView& view) override { dialogs.push_back(view); }
  void messageBoxShown(const ui::MessageBoxView& view) override { boxes.push_back(view); }
  void messageBoxClosed() override { ++boxesClosed; }
  void fileDialogShown(const ui::FileDialogView& view) override { files.push_back(view); }
  void fileDialogClosed() override { ++filesClosed; }
  void asking(const cad::Asking& asking) override { asked.push_back(asking.what); }
  void selectionChanged(const std::vector<AcDbObjectId>&, const std::string&) override {}

  std::vector<ui::DialogView> dialogs;
  std::vector<ui::MessageBoxView> boxes;
  std::vector<ui::FileDialogView> files;
  std::vector<cad::AskKind> asked;
  int boxesClosed = 0, filesClosed = 0;
};

const ui::ControlView& control(const ui::DialogView& view, int id) {
  for (const ui::ControlView& c : view.controls)
    if (c.id == id) return c;
  throw std::out_of_range("no control " + std::to_string(id));
}

TEST(DialogViewTest, TheDialogIsToldBeforeEachAnswerAndWhenItCloses) {
  StartedLibrary library;
  ASSERT_TRUE(library.started());
  InstalledInput input;
  input->line("set 100 abc").line("select 102 1").line("key TAB").line("click 106");
  Recorder recorder;
  TestForm form;
  EXPECT_EQ(form.doModal(), ui::kIdCancel);

  // Opened, then one view per answer that changed something, then closed.
  ASSERT_EQ(recorder.dialogs.size(), 5u);
  EXPECT_EQ(recorder.asked, std::vector<cad::AskKind>(4, cad::AskKind::kDialog));
  const ui::DialogView& first = recorder.dialogs[0];
  EXPECT_TRUE(first.open);
  EXPECT_EQ(first.templateId, kTestDialogId);
  EXPECT_EQ(first.caption, "Test form");
  EXPECT_EQ(first.width, 120);
  EXPECT_EQ(first.height, 100);
  ASSERT_EQ(first.controls.size(), 9u);
  struct Expected {
    int id;
    const char* className;
    bool readOnly, focus;
  };
  const Expected expected[] = {{kNameEdit, "Edit", false, true},
                               {kShownEdit, "Edit", true, false},
                               {kChoiceList, "ComboBox", false, false},
                               {kNumberSpin, "UpDown", false, false},
                               {kQuitButton, "Button", false, false}};
  for (const Expected& e : expected) {
    const ui::ControlView& c = control(first, e.id);
    EXPECT_EQ(c.className, e.className) << e.id;
    EXPECT_EQ(c.readOnly, e.readOnly) << e.id;
    EXPECT_EQ(c.focus, e.focus) << e.id;
  }
  EXPECT_EQ(control(first, kNumberEdit).text, "5");
  EXPECT_EQ(control(first, kNumberSpin).rect.x, 44);
  EXPECT_EQ(control(first, kChoiceList).items, (std::vector<std::string>{"one", "分米", "three"}));
  EXPECT_EQ(control(first, kChoiceList).selected, -1);

  EXPECT_EQ(control(recorder.dialogs[1], kNameEdit).text, "abc");
  EXPECT_EQ(control(recorder.dialogs[2], kChoiceList).selected, 1);
  // Exactly one control has the focus, and Tab moved it.
  const auto focused = [](const ui::DialogView& view) {
    int id = 0, count = 0;
    for (const ui::ControlView& c : view.controls)
      if (c.focus) {
        id = c.id;
        ++count;
      }
    return count == 1 ? id : -count;
  };
  EXPECT_GT(focused(recorder.dialogs[2]), 0);
  EXPECT_GT(focused(recorder.dialogs[3]), 0);
  EXPECT_NE(focused(recorder.dialogs[3]), focused(recorder.dialogs[2]));
  EXPECT_FALSE(recorder.dialogs[4].open);
  EXPECT_TRUE(recorder.dialogs[4].controls.empty());
}

// A page is read by a person: it shows the owner's note and every status
// line, which a script's transcript leaves out.
TEST(DialogViewTest, ThePageSeesTheNoteAndTheStatusLines) {
  StartedLibrary library;
  ASSERT_TRUE(library.started());
  InstalledInput input;
  input->line("click 106");
  Recorder recorder;
  TestForm form;
  form.setNote("\xc3\xd7");  // 米 in code page 936
  form.setStatusLine("base point", "100,0 -> 0,0");
  form.setStatusLine("other", "second");
  form.setStatusLine("other", "");
  EXPECT_EQ(form.doModal(), ui::kIdCancel);
  ASSERT_FALSE(recorder.dialogs.empty());
  EXPECT_EQ(recorder.dialogs[0].note, "米\n100,0 -> 0,0");
}

TEST(DialogViewTest, MessageBoxesTellTheirButtonsAndIcon) {
  struct Case {
    unsigned type;
    const char* answer;
    int result;
    std::vector<std::string> buttons;
    const char* icon;
    const char* defaultButton;
  };
  const Case cases[] = {
      {ui::kMessageBoxYesNo | ui::kIconExclamation,
       "no",
       ui::kIdNo,
       {"Yes", "No"},
       "warning",
       "Yes"},
      {ui::kMessageBoxYesNo | ui::kDefaultButton2,
       "yes",
       ui::kIdYes,
       {"Yes", "No"},
       "question",
       "No"},
      {ui::kMessageBoxOk, "ok", ui::kIdOk, {"OK"}, "information", "OK"},
  };
  for (const Case& c : cases) {
    InstalledInput input;
    input->line(c.answer);
    Recorder recorder;
    EXPECT_EQ(ui::messageBox("\xB7\xD6\xC3\xD7?", "Caption", c.type), c.result);
    ASSERT_EQ(recorder.boxes.size(), 1u) << c.answer;
    EXPECT_EQ(recorder.boxes[0].text, "分米?");
    EXPECT_EQ(recorder.boxes[0].caption, "Caption");
    EXPECT_EQ(recorder.boxes[0].buttons, c.buttons);
    EXPECT_EQ(recorder.boxes[0].icon, std::string(c.icon));
    EXPECT_EQ(recorder.boxes[0].defaultButton, std::string(c.defaultButton));
    EXPECT_EQ(recorder.boxesClosed, 1);
    EXPECT_EQ(recorder.asked, std::vector<cad::AskKind>{cad::AskKind::kMessageBox});
  }
}

TEST(DialogViewTest, TheFileDialogListsItsFolder) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("dialog_view_" + std::to_string(getpid()));
  fs::create_directories(folder / "sub");
  std::ofstream(folder / "b.prj") << "x";
  std::ofstream(folder / "a.prj") << "x";
  std::ofstream(folder / "c.txt") << "x";
  std::ofstream(folder / ".hidden.prj") << "x";
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  {
    InstalledInput input;
    input->line("a.prj");
    Recorder recorder;
    ui::FileDialog dialog(true, "prj", "start.prj", ui::kFileDialogNoChangeDir,
                          "Projects (*.prj)|*.prj||");
    EXPECT_EQ(dialog.doModal(), ui::kIdOk);
    ASSERT_EQ(recorder.files.size(), 1u);
    const ui::FileDialogView& view = recorder.files[0];
    EXPECT_EQ(view.title, "Open");
    EXPECT_EQ(fs::path(view.folder), fs::current_path());
    EXPECT_EQ(view.name, "start.prj");
    EXPECT_EQ(view.filter, "*.prj");
    std::vector<std::string> names;
    for (const ui::FileEntry& entry : view.entries)
      names.push_back(entry.name + (entry.folder ? "/" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"sub/", "a.prj", "b.prj"}));
    EXPECT_EQ(recorder.filesClosed, 1);
    EXPECT_EQ(recorder.asked, std::vector<cad::AskKind>{cad::AskKind::kFile});
  }
  fs::current_path(before);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace testing_ui
