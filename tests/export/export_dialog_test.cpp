#include "export/export_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "cad/command_line.h"
#include "resources/export_dialog_template.h"
#include "resources/module_resources.h"
#include "standins/ui/scripted_input.h"
#include "text/code_page.h"
#include "ui/application.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/library.h"

namespace tavrin {

namespace {

using testing_ui::InstalledInput;

// Answers pathExists from a set of names and records every question.
class FakeFileSystem final : public FileSystem {
 public:
  std::set<std::string> existing;
  std::vector<std::string> asked;

  FileStatus newWritableFile(const std::string& path, std::unique_ptr<WritableFile>*) override {
    return FileStatus::error("no writing here: " + path);
  }
  FileStatus readFile(const std::string& path, std::size_t, std::string*) override {
    return FileStatus::error("no reading here: " + path);
  }
  FileStatus renameFile(const std::string& from, const std::string&) override {
    return FileStatus::error("no renaming here: " + from);
  }
  FileStatus removeFile(const std::string& path) override {
    return FileStatus::error("no removing here: " + path);
  }
  bool pathExists(const std::string& path) override {
    asked.push_back(path);
    return existing.count(path) != 0;
  }
};

class StartedModuleLibrary {
 public:
  StartedModuleLibrary() {
    started = ui::startLibrary(&instance_, &resources::moduleResources(), "");
  }
  ~StartedModuleLibrary() { ui::stopLibrary(); }
  bool started = false;

 private:
  ui::Application application_;
  int instance_ = 0;
};

std::string cp936(const char* utf8) {
  return text::utf8ToCp936(utf8).value();
}

class ExportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(library.started); }

  // Opens the dialog without the modal loop.
  void open() {
    const base::Status opened = dialog.open();
    ASSERT_TRUE(opened.isOk()) << opened.message();
  }
  void apply(std::string_view event) {
    const base::Status applied = dialog.applyEvent(event);
    ASSERT_TRUE(applied.isOk()) << event << ": " << applied.message();
  }
  ui::Edit& edit(int id) { return *dialog.findControl<ui::Edit>(id); }
  std::string text(int id) { return dialog.control(id)->text(); }
  int focusId() { return dialog.focus() != nullptr ? dialog.focus()->id() : 0; }
  int unitSelection() { return dialog.findControl<ui::ComboBox>(1010)->currentSelection(); }
  const std::string& transcript() { return cad::commandLine().transcript(); }

  StartedModuleLibrary library;
  InstalledInput input;
  FakeFileSystem files;
  ExportDialog dialog{nullptr, files};
};

TEST_F(ExportDialogTest, FreshDialogOpensWithTheInitialValuesAndFocusOnTheFloor) {
  EXPECT_EQ(dialog.floorNumber, 1);
  EXPECT_EQ(dialog.unitIndex, -1);
  EXPECT_EQ(dialog.findControl<ui::ComboBox>(1010), nullptr) << "no controls before it opens";
  open();
  EXPECT_EQ(text::cp936ToUtf8(dialog.text()), "存为Morlen轴网格式");
  struct Field {
    int id;
    const char* shown;
  };
  const Field fields[] = {{1004, "1"}, {1002, "0"}, {1007, "0"}, {1000, ""},
                          {1009, "1"}, {1003, "0"}, {1008, "0"}};
  for (const Field& field : fields) EXPECT_EQ(text(field.id), field.shown) << field.id;
  ASSERT_NE(dialog.findControl<ui::ComboBox>(1010), nullptr);
  EXPECT_EQ(dialog.findControl<ui::ComboBox>(1010)->count(), 4);
  EXPECT_EQ(unitSelection(), -1) << "no unit selected";
  EXPECT_EQ(focusId(), 1004);
  EXPECT_TRUE(edit(1004).wholeTextSelected());
}

TEST_F(ExportDialogTest, ShowsTheExportFlowsValuesWithFifteenSignificantDigits) {
  dialog.originX = -2500;
  dialog.originY = 0.1 + 0.2;  // 0.30000000000000004
  dialog.referenceX = 123456.78901234567;
  dialog.projectName = cp936("/jobs/住宅.prj");
  dialog.unitIndex = 3;
  dialog.scale = 2.5;
  open();
  EXPECT_EQ(text(1002), "-2500");
  EXPECT_EQ(text(1007), "0.3");
  EXPECT_EQ(text(1003), "123456.789012346");
  EXPECT_EQ(text(1000), cp936("/jobs/住宅.prj"));
  EXPECT_EQ(unitSelection(), 3);
  EXPECT_EQ(text(1009), "2.5");
}

TEST_F(ExportDialogTest, AxisFileNameIsCutAtTheFirstDotOfTheFileName) {
  struct Case {
    const char* project;
    int floor;
    const char* axisFile;
  };
  const Case cases[] = {
      {"/jobs/house.prj", 3, "/jobs/house.N3"},
      {"/jobs.v1/tower.v2.prj", 12, "/jobs.v1/tower.N12"},
      {"/jobs/plain", 1, "/jobs/.N1"},
      {"/jobs/house.prj", 1000, "/jobs/house.N1000"},
      {"house.prj", 2, "house.N2"},
      {"/项目.甲/综合楼.一期.prj", 5, "/项目.甲/综合楼.N5"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text::cp936ToUtf8(floorAxisFilePath(cp936(c.project), c.floor)), c.axisFile)
        << c.project;
  // A double-byte character whose trail byte is '\' or '|' is not cut.
  EXPECT_EQ(floorAxisFilePath("/a/\x81\x5C.prj", 4), "/a/\x81\x5C.N4");
}

TEST_F(ExportDialogTest, SaveLooksForTheFloorsAxisFileBesideTheProject) {
  const struct {
    const char* project;
    const char* floor;
    const char* looked;
  } cases[] = {{"/jobs/house.prj", "3", "/jobs/house.N3"},
               {"/jobs.v1/tower.v2.prj", "12", "/jobs.v1/tower.N12"}};
  for (const auto& c : cases) {
    files.asked.clear();
    dialog.projectName = c.project;
    dialog.unitIndex = 3;
    open();
    apply(std::string("set 1004 ") + c.floor);
    apply("click 1005");
    EXPECT_EQ(files.asked, std::vector<std::string>{c.looked});
    EXPECT_TRUE(dialog.hasEnded());
    EXPECT_EQ(dialog.result(), ui::kIdOk) << "nothing there: no question";
  }
}

TEST_F(ExportDialogTest, KeyFilteringPerControl) {
  struct Case {
    int id;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {1004, "a", ""},     {1004, "-", ""},    {1004, " ", ""},  {1004, ".", ""},
      {1004, "+e", ""},    {1004, "12", "12"}, {1009, ".", "."}, {1009, "1.5", "1.5"},
      {1009, "-", ""},     {1009, "+", ""},    {1009, "e", ""},  {1009, " ", ""},
      {1009, "1e5", "15"}, {1004, "分", "分"},  // double-byte characters are not filtered
  };
  open();
  for (const Case& c : cases) {
    apply("set " + std::to_string(c.id));
    apply(std::string("type ") + c.typed);
    EXPECT_EQ(text::cp936ToUtf8(text(c.id)), c.shown) << c.id << " typed " << c.typed;
  }
  // Read-only edits filter too, and refuse what passes.
  apply("click 1002");
  apply("type 5x");
  EXPECT_EQ(text(1002), "0");
  // Backspace and a paste are not filtered.
  apply("set 1004 12");
  apply("key BACKSPACE");
  EXPECT_EQ(text(1004), "1");
  apply("paste -x");
  EXPECT_EQ(text(1004), "1-x");
}

TEST_F(ExportDialogTest, EnterInAnEditMovesTheFocusAndDoesNotClose) {
  open();
  struct Case {
    const char* from;
    int focus;
  };
  const Case cases[] = {
      {"focus 1004", 1010}, {"focus 1009", 1005}, {"click 1002", 1010}, {"click 1000", 1005}};
  for (const Case& c : cases) {
    apply(c.from);
    apply("key ENTER");
    EXPECT_EQ(focusId(), c.focus) << c.from;
    EXPECT_FALSE(dialog.hasEnded()) << c.from;
  }
}

TEST_F(ExportDialogTest, UpDownAtFloorOneLowersNoFurtherAndRaisesToTwo) {
  open();
  apply("spin 1013 up");
  EXPECT_EQ(dialog.floorNumber, 1) << "the upper arrow reports -1";
  EXPECT_EQ(text(1004), "1");
  apply("spin 1013 down");
  EXPECT_EQ(dialog.floorNumber, 2) << "the lower arrow reports +1";
  EXPECT_EQ(text(1004), "2");
  apply("spin 1013 up");
  EXPECT_EQ(dialog.floorNumber, 1);
  EXPECT_FALSE(dialog.hasEnded());
}

TEST_F(ExportDialogTest, SpinningWorksOnTheStoredFloorAndRewritesEveryControl) {
  dialog.unitIndex = 2;
  open();
  apply("set 1004 7");
  apply("select 1010 0");
  apply("set 1009 42");
  apply("spin 1013 down");
  EXPECT_EQ(dialog.floorNumber, 2) << "1 + 1, not 7 + 1";
  EXPECT_EQ(text(1004), "2");
  EXPECT_EQ(text(1009), "1") << "the typed scale is replaced by the field's value";
  EXPECT_EQ(unitSelection(), 2) << "the list is reset to the field";
}

TEST_F(ExportDialogTest, FloorOutsideOneToThousandIsRefusedWithFocusAndSelection) {
  for (const char* floor : {"0", "1001"}) {
    dialog.unitIndex = 3;
    input->line("ok");
    open();
    apply(std::string("set 1004 ") + floor);
    apply("click 1005");
    EXPECT_FALSE(dialog.hasEnded()) << floor;
    EXPECT_EQ(std::to_string(dialog.floorNumber), floor) << "the floor keeps what it read";
    EXPECT_EQ(focusId(), 1004) << floor;
    EXPECT_TRUE(edit(1004).wholeTextSelected()) << floor;
    EXPECT_NE(transcript().find("标准层号必须在1到1000之间。"), std::string::npos) << floor;
    EXPECT_NE(transcript().find("message box \"tavrin\" (!)"), std::string::npos);
    EXPECT_TRUE(files.asked.empty()) << "stopped before the existence test";
    EXPECT_TRUE(input->exhausted()) << "the warning took its ok";
  }
}

TEST_F(ExportDialogTest, InvalidFieldsWarnFocusTheFieldAndKeepEarlierReads) {
  struct Case {
    const char* event;
    int focus;
    const char* warning;
  };
  const Case cases[] = {
      {"set 1004", 1004, "请输入一个整数。"},
      {"paste  +", 1004, "请输入一个整数。"},
      {"paste 99999999999", 1004, "请输入一个整数。"},
      {"set 1009", 1009, "请输入一个有效的数值"},
      {"set 1009 1.2.3", 1009, "请输入一个有效的数值"},
      {"set 1009 .", 1009, "请输入一个有效的数值"},
  };
  for (const Case& c : cases) {
    dialog.unitIndex = 3;
    dialog.scale = 1.0;
    cad::commandLine().clear();
    input->line("ok");
    open();
    apply("set 1004 4");
    if (std::string(c.event).rfind("paste", 0) == 0) apply("set 1004");
    apply(c.event);
    apply("click 1005");
    EXPECT_FALSE(dialog.hasEnded()) << c.event;
    EXPECT_EQ(focusId(), c.focus) << c.event;
    EXPECT_TRUE(edit(c.focus).wholeTextSelected()) << c.event;
    EXPECT_NE(transcript().find(c.warning), std::string::npos) << c.event;
    EXPECT_EQ(dialog.scale, 1.0) << c.event;
  }
  EXPECT_EQ(dialog.floorNumber, 4) << "read before the scale failed";
}

TEST_F(ExportDialogTest, NumbersComeBackRoundedToFifteenSignificantDigits) {
  dialog.unitIndex = 3;
  dialog.originX = 1234.56789012345678;
  dialog.scale = 3.14159265358979323;
  open();
  EXPECT_EQ(text(1009), "3.14159265358979");
  apply("click 1005");
  ASSERT_EQ(dialog.result(), ui::kIdOk);
  EXPECT_EQ(dialog.scale, 3.14159265358979);
  EXPECT_EQ(dialog.originX, 1234.56789012346);
}

// Fifteen digits would round the largest numbers past what a double holds;
// the dialog must never show a value that Save then refuses.
TEST_F(ExportDialogTest, EveryValueShownReadsBackOnSave) {
  constexpr double kLargest = std::numeric_limits<double>::max();
  const double values[] = {kLargest, -kLargest, 9.99999999999999999e307, 1e-300, 0.1};
  for (double value : values) {
    dialog.unitIndex = 3;
    dialog.originX = value;
    dialog.referenceY = -value;
    dialog.scale = std::fabs(value);
    open();
    apply("click 1005");
    ASSERT_EQ(dialog.result(), ui::kIdOk) << value << " shown as " << text(1002);
    EXPECT_TRUE(std::isfinite(dialog.originX)) << value;
    EXPECT_TRUE(std::isfinite(dialog.referenceY)) << value;
    EXPECT_TRUE(std::isfinite(dialog.scale)) << value;
  }
}

TEST_F(ExportDialogTest, BlanksAndTabsAroundNumbersAreAccepted) {
  dialog.unitIndex = 0;
  open();
  apply("set 1004");
  apply("paste \t 12 \t");
  apply("set 1009");
  apply("paste  +2.5E1 ");
  apply("click 1005");
  ASSERT_EQ(dialog.result(), ui::kIdOk);
  EXPECT_EQ(dialog.floorNumber, 12);
  EXPECT_EQ(dialog.scale, 25.0);
}

TEST_F(ExportDialogTest, ExistingFloorFileAsksAndNoEndsWithCancel) {
  dialog.projectName = "/jobs/house.prj";
  dialog.unitIndex = 3;
  files.existing.insert("/jobs/house.N1");
  struct Case {
    const char* answer;
    int result;
  };
  for (const Case& c : {Case{"no", ui::kIdCancel}, Case{"yes", ui::kIdOk}}) {
    cad::commandLine().clear();
    input->line(c.answer);
    open();
    apply("click 1005");
    EXPECT_TRUE(dialog.hasEnded()) << c.answer << ": it does not return to the dialog";
    EXPECT_EQ(dialog.result(), c.result) << c.answer;
    EXPECT_NE(
        transcript().find("message box \"tavrin\" (!): 该标准层数据已存在，是否覆盖?  [Yes] [No]"),
        std::string::npos)
        << transcript();
  }
}

// Every keyboard way to OK asks before an existing axis file is replaced, and
// No ends with Cancel as Save's No does.
TEST_F(ExportDialogTest, EveryKeyboardPathToOkAsksBeforeOverwriting) {
  dialog.projectName = "/jobs/house.prj";
  files.existing.insert("/jobs/house.N1");
  struct Path {
    const char* name;
    std::vector<const char*> events;
  };
  const Path paths[] = {
      // Floor typed, Enter moves on to the unit list, Enter there.
      {"enter on the unit list", {"set 1004 1", "key ENTER", "select 1010 1", "key ENTER"}},
      {"enter on save", {"select 1010 1", "focus 1005", "key ENTER"}},
      // Enter where no edit or button has the focus: the standard OK.
      {"default ok", {"select 1010 1", "focus 1010", "key ENTER"}},
  };
  struct Answer {
    const char* answer;
    int result;
  };
  for (const Path& path : paths) {
    for (const Answer& a : {Answer{"no", ui::kIdCancel}, Answer{"yes", ui::kIdOk}}) {
      cad::commandLine().clear();
      files.asked.clear();
      input->line(a.answer);
      open();
      for (const char* event : path.events) apply(event);
      EXPECT_TRUE(dialog.hasEnded()) << path.name;
      EXPECT_EQ(dialog.result(), a.result) << path.name << ", " << a.answer;
      EXPECT_NE(transcript().find("该标准层数据已存在，是否覆盖?"), std::string::npos)
          << path.name << ": no overwrite question\n"
          << transcript();
      EXPECT_EQ(files.asked, std::vector<std::string>{"/jobs/house.N1"}) << path.name;
    }
  }
}

TEST_F(ExportDialogTest, EnterOnSavePressesItAndExitEscapeAndCloseCancelWithoutReading) {
  dialog.unitIndex = 3;
  open();
  apply("set 1004 9");
  apply("key TAB");
  apply("key TAB");
  apply("key TAB");
  EXPECT_EQ(focusId(), 1005);
  apply("key ENTER");
  EXPECT_EQ(dialog.result(), ui::kIdOk);
  EXPECT_EQ(dialog.floorNumber, 9);
  for (const char* event : {"click 1006", "key ESC", "close"}) {
    open();
    apply("set 1004 5");
    apply(event);
    EXPECT_EQ(dialog.result(), ui::kIdCancel) << event;
    EXPECT_EQ(dialog.floorNumber, 9) << event << ": the controls were not read";
  }
}

TEST_F(ExportDialogTest, SaveWithoutAUnitWarnsAndFocusesTheList) {
  input->line("ok");
  open();
  apply("click 1005");
  EXPECT_FALSE(dialog.hasEnded());
  EXPECT_EQ(focusId(), 1010);
  EXPECT_NE(transcript().find("请选择单位。"), std::string::npos);
  EXPECT_TRUE(files.asked.empty());
  // An index the list does not have (from a damaged parameter file) shows as
  // none and is refused the same way.
  dialog.unitIndex = 7;
  input->line("ok");
  open();
  EXPECT_EQ(unitSelection(), -1);
  apply("key ENTER");
  apply("focus 1010");
  apply("key ENTER");
  EXPECT_FALSE(dialog.hasEnded());
  EXPECT_EQ(dialog.unitIndex, -1);
}

TEST_F(ExportDialogTest, ScaleThatIsZeroNegativeOrNotFiniteIsRefused) {
  for (const char* scale : {"0", "0.000", "-2", "1e999", "inf", "nan", "-0"}) {
    dialog.unitIndex = 3;
    dialog.scale = 1.0;
    cad::commandLine().clear();
    input->line("ok");
    open();
    apply("set 1009");
    apply(std::string("paste ") + scale);
    apply("click 1005");
    EXPECT_FALSE(dialog.hasEnded()) << scale;
    EXPECT_EQ(dialog.scale, 1.0) << scale << ": not stored";
    EXPECT_EQ(focusId(), 1009) << scale;
    EXPECT_TRUE(edit(1009).wholeTextSelected()) << scale;
    EXPECT_NE(transcript().find("请输入一个有效的数值"), std::string::npos) << scale;
  }
}

TEST_F(ExportDialogTest, SpinningPastTheLargestIntStopsThere) {
  dialog.floorNumber = 2147483647;
  open();
  apply("spin 1013 down");
  EXPECT_EQ(dialog.floorNumber, 2147483647);
}

TEST_F(ExportDialogTest, ScriptDrivesTheModalDialogAndItCanBeShownAgain) {
  dialog.projectName = "/jobs/house.prj";
  dialog.unitIndex = 3;
  files.existing.insert("/jobs/house.N2");
  input->line("spin 1013 down")
      .line("select 1010 2")
      .line("set 1009 100")
      .line("click 1005")
      .line("no");
  EXPECT_EQ(dialog.doModal(), ui::kIdCancel);
  EXPECT_EQ(dialog.floorNumber, 2);
  EXPECT_EQ(dialog.unitIndex, 2);
  EXPECT_EQ(dialog.scale, 100.0);

  input
      ->check([&] {
        EXPECT_EQ(text(1004), "2");
        EXPECT_EQ(unitSelection(), 2);
        EXPECT_EQ(text(1009), "100");
      })
      .line("set 1004 3")
      .line("key ENTER")   // floor field: the focus moves to the unit list
      .line("key ENTER");  // unit list: the standard OK
  EXPECT_EQ(dialog.doModal(), ui::kIdOk);
  EXPECT_EQ(dialog.floorNumber, 3);
  EXPECT_TRUE(input->exhausted());
  EXPECT_TRUE(input->rejected().empty());
  EXPECT_NE(transcript().find("dialog \"存为Morlen轴网格式\" closed: OK"), std::string::npos);
}

}  // namespace

}  // namespace tavrin
