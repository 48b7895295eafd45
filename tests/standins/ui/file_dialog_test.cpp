#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cad/command_line.h"
#include "scripted_input.h"
#include "text/code_page.h"
#include "ui/messages.h"

namespace testing_ui {
namespace {

namespace fs = std::filesystem;

// "Morlen工程文件(*.prj)|*.prj||" in code page 936.
const std::string kFilter = *text::utf8ToCp936("Morlen工程文件(*.prj)|*.prj||");

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
  EXPECT_EQ(chooser.fileName(), *text::utf8ToCp936("住宅.prj"));
  EXPECT_EQ(text::cp936ToUtf8(chooser.pathName()), (root_ / "jobs" / "住宅.prj").string());
}

TEST_F(FileDialogTest, UnusablePathsAreRefusedAndATerminalAsksAgain) {
  struct Case {
    std::string answer;
    const char* reasonPart;
    bool terminal;  // a folder answered at a terminal is looked into instead
  };
  const Case cases[] = {
      {"", "no file name", true},
      {"missing/house.prj", "does not exist", true},
      {"jobs/", "names a folder", false},
      {"jobs/folder.prj", "is a folder", false},
      {"jobs/\xF0\x9F\x98\x80.prj", "code page 936 cannot hold", true},
  };
  for (const Case& c : cases) {
    InstalledInput source(c.terminal);
    source->line(c.answer).line("jobs/ok.prj");
    ui::FileDialog chooser = projectChooser(ui::kFileDialogNoChangeDir);
    EXPECT_EQ(chooser.doModal(), c.terminal ? ui::kIdOk : ui::kIdCancel) << c.answer;
    if (c.terminal) {
      EXPECT_EQ(chooser.fileName(), "ok.prj");
    }
    ASSERT_EQ(source->rejected().size(), 1u) << c.answer;
    EXPECT_NE(source->rejected()[0].find(c.reasonPart), std::string::npos)
        << c.answer << " -> " << source->rejected()[0];
  }
  InstalledInput script;
  script->line("missing/house.prj").line("jobs/ok.prj");
  EXPECT_EQ(projectChooser().doModal(), ui::kIdCancel) << "a script ends at its error";
}

TEST_F(FileDialogTest, PatternsListMatchesAndAreNeverTakenAsFileNames) {
  std::ofstream(root_ / "jobs" / "house.prj") << "x";
  std::ofstream(root_ / "jobs" / "tower.prj") << "x";
  std::ofstream(root_ / "jobs" / "notes.txt") << "x";
  for (bool terminal : {false, true}) {
    InstalledInput source(terminal);
    source->line("jobs/*.prj").line("??").line("t*.prj").line("esc");
    // At a terminal "jobs/" is looked into first; a script stays in the root.
    ui::FileDialog chooser = projectChooser(ui::kFileDialogNoChangeDir);
    if (terminal) {
      InstalledInput folderFirst(true);
      folderFirst->line("jobs").line("t*.prj").line("?").line("tower");
      ui::FileDialog inJobs = projectChooser(ui::kFileDialogNoChangeDir);
      ASSERT_EQ(inJobs.doModal(), ui::kIdOk);
      EXPECT_EQ(inJobs.pathName(), (root_ / "jobs" / "tower.prj").string());
      EXPECT_TRUE(folderFirst->rejected().empty());
      const std::string& shown = cad::commandLine().transcript();
      EXPECT_NE(shown.find("Look in: " + (root_ / "jobs").string() +
                           "/\n    folder.prj/\n"
                           "    house.prj\n    tower.prj\n"),
                std::string::npos)
          << shown;
      EXPECT_EQ(shown.find("notes.txt"), std::string::npos) << "the filter hides other files";
      EXPECT_NE(shown.find("a folder to\nlook in"), std::string::npos) << "? says what it takes";
      continue;
    }
    ASSERT_EQ(chooser.doModal(), ui::kIdOk);
    EXPECT_EQ(chooser.fileName(), "esc.prj") << "only the plain name is a file name";
    EXPECT_TRUE(source->rejected().empty());
    const std::string& shown = cad::commandLine().transcript();
    EXPECT_NE(shown.find("no file matches ??"), std::string::npos) << shown;
    EXPECT_NE(shown.find("/jobs/\n    folder.prj/\n    house.prj\n    tower.prj\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("no file matches t*.prj"), std::string::npos) << shown;
  }
  EXPECT_FALSE(fs::exists(root_ / "?.prj"));
  EXPECT_FALSE(fs::exists(root_ / "jobs" / "*.prj"));
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
