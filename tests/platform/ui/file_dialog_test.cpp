#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cad/code_page.h"
#include "cad/command_line.h"
#include "scripted_input.h"
#include "ui/messages.h"

namespace testing_ui {
namespace {

namespace fs = std::filesystem;

// "Morlen工程文件(*.prj)|*.prj||" in code page 936.
const std::string kFilter = *cad::utf8ToCp936("Morlen工程文件(*.prj)|*.prj||");

// A fresh folder with a subfolder "jobs", made the working folder; the
// previous working folder comes back afterwards.
class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    root_ = fs::temp_directory_path() /
            ("ui_file_dialog_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "jobs" / "folder.prj");
    fs::current_path(root_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(root_);
  }

  ui::FileDialog projectChooser(unsigned flags = ui::kFileDialogExplorer) {
    return ui::FileDialog(true, "prj", nullptr, flags, kFilter.c_str());
  }

  fs::path root_;
  fs::path previous_;
};

TEST_F(FileDialogTest, RelativePathIsReportedInFullWithTheDefaultExtension) {
  InstalledInput input;
  input->line("jobs/house");
  ui::FileDialog chooser = projectChooser();
  ASSERT_EQ(chooser.doModal(), ui::kIdOk);
  EXPECT_EQ(chooser.pathName(), (root_ / "jobs" / "house.prj").string());
  EXPECT_EQ(chooser.fileName(), "house.prj");
  EXPECT_EQ(fs::current_path(), root_ / "jobs") << "the working folder follows the choice";
}

TEST_F(FileDialogTest, NamesWithAnExtensionKeepItAndTheFolderCanStayPut) {
  InstalledInput input;
  input->line(" " + (root_ / "jobs" / "tower.v2.prj").string() + " ");
  ui::FileDialog chooser = projectChooser(ui::kFileDialogExplorer | ui::kFileDialogNoChangeDir);
  ASSERT_EQ(chooser.doModal(), ui::kIdOk);
  EXPECT_EQ(chooser.fileName(), "tower.v2.prj");
  EXPECT_EQ(fs::current_path(), root_);
}

TEST_F(FileDialogTest, ChineseNamesArriveInCodePage936) {
  InstalledInput input;
  input->line("jobs/住宅");
  ui::FileDialog chooser = projectChooser();
  ASSERT_EQ(chooser.doModal(), ui::kIdOk);
  EXPECT_EQ(chooser.fileName(), *cad::utf8ToCp936("住宅.prj"));
  EXPECT_EQ(cad::cp936ToUtf8(chooser.pathName()), (root_ / "jobs" / "住宅.prj").string());
}

TEST_F(FileDialogTest, UnusablePathsAreRefusedAndATerminalAsksAgain) {
  struct Case {
    std::string answer;
    const char* reasonPart;
  };
  const Case cases[] = {
      {"", "no file name"},
      {"missing/house.prj", "does not exist"},
      {"jobs/", "names a folder"},
      {"jobs/folder.prj", "is a folder"},
      {"jobs/\xF0\x9F\x98\x80.prj", "code page 936 cannot hold"},
  };
  for (const Case& c : cases) {
    InstalledInput terminal(/*interactive=*/true);
    terminal->line(c.answer).line("jobs/ok.prj");
    ui::FileDialog chooser = projectChooser(ui::kFileDialogNoChangeDir);
    EXPECT_EQ(chooser.doModal(), ui::kIdOk) << c.answer;
    EXPECT_EQ(chooser.fileName(), "ok.prj");
    ASSERT_EQ(terminal->rejected().size(), 1u) << c.answer;
    EXPECT_NE(terminal->rejected()[0].find(c.reasonPart), std::string::npos)
        << c.answer << " -> " << terminal->rejected()[0];
  }
  InstalledInput script;
  script->line("missing/house.prj").line("jobs/ok.prj");
  EXPECT_EQ(projectChooser().doModal(), ui::kIdCancel) << "a script ends at its error";
}

TEST_F(FileDialogTest, CancelAndEndOfInputCancelAndLeaveTheFolder) {
  InstalledInput input;
  input->cancel();
  EXPECT_EQ(projectChooser().doModal(), ui::kIdCancel);
  EXPECT_EQ(projectChooser().doModal(), ui::kIdCancel);
  EXPECT_EQ(fs::current_path(), root_);
}

TEST_F(FileDialogTest, MustExistRefusesANewFileWhenAskedFor) {
  InstalledInput terminal(true);
  std::ofstream(root_ / "jobs" / "old.prj") << "x";
  terminal->line("jobs/new.prj").line("jobs/old.prj");
  ui::FileDialog chooser =
      projectChooser(ui::kFileDialogFileMustExist | ui::kFileDialogNoChangeDir);
  ASSERT_EQ(chooser.doModal(), ui::kIdOk);
  EXPECT_EQ(chooser.fileName(), "old.prj");
  EXPECT_EQ(terminal->rejected().size(), 1u);
}

TEST_F(FileDialogTest, ShowsFilterDefaultExtensionAndTheReadOnlyBox) {
  InstalledInput input;
  projectChooser().doModal();
  const std::string& shown = cad::commandLine().transcript();
  for (const char* part : {"Open [x]", "Files of type: Morlen工程文件(*.prj) (*.prj)",
                           "Default extension: .prj", "[ ] Open as read-only"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
}

TEST(FileDialogFilter, ParsesDescriptionPatternPairs) {
  std::vector<ui::FileDialog::Filter> filters;
  ASSERT_TRUE(ui::FileDialog::parseFilter(kFilter, &filters));
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].pattern, "*.prj");
  EXPECT_TRUE(ui::FileDialog::parseFilter("A|*.a|B|*.b||", &filters));
  EXPECT_EQ(filters.size(), 2u);
  for (const char* bad : {"A|*.a", "A|*.a|", "A||", "|*.a||", "A|*.a|B||"})
    EXPECT_FALSE(ui::FileDialog::parseFilter(bad, &filters)) << bad;
  // A trail byte with the value of '|' is part of its character.
  ASSERT_TRUE(ui::FileDialog::parseFilter("\x81\x7C|*.x||", &filters));
  EXPECT_EQ(filters[0].description, "\x81\x7C");
  InstalledInput input;
  EXPECT_EQ(ui::FileDialog(true, "prj", nullptr, 0, "broken").doModal(), -1);
}

}  // namespace
}  // namespace testing_ui
