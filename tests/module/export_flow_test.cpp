// The whole command through the real module: from a drawing and a script to
// the project, parameter and axis files, byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <grp.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "cad/command_stack.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/module_loader.h"
#include "cad/registry.h"
#include "cad/script_input.h"
#include "cad/terminal_input.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "host/file_system.h"
#include "tavrin_test.h"

namespace fs = std::filesystem;

namespace {

const char kHouseAxisFile[] =
    "0\r\nGraph Link\r\n4\r\n"
    "9,0\r\n 7.500000,4.500000,2.500000,4.500000,0,0\r\n"
    "9,0\r\n 12.500000,4.500000,7.500000,4.500000,0,0\r\n"
    "9,0\r\n 7.500000,4.500000,7.500000,1.500000,0,0\r\n"
    "9,0\r\n 7.500000,7.500000,7.500000,4.500000,0,0\r\n";

class ExportFlowTest : public TavrinTest {
 protected:
  void SetUp() override {
    TavrinTest::SetUp();
    char pattern[] = "/tmp/tavrin-export-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    loadModule();
  }
  void TearDown() override {
    TavrinTest::TearDown();
    fs::current_path("/");
    fs::remove_all(dir);
  }

  // The house example's drawing: two crossing axes, in millimetres.
  static void drawHouse() {
    line(0, 0, 10000, 0);
    line(5000, -3000, 5000, 3000);
  }
  static void line(double x1, double y1, double x2, double y2) {
    cad::currentDatabase().append(
        std::make_unique<AcDbLine>(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0)));
  }

  // Runs "acadtomn": base point, selection of everything, the project file
  // `project` (in the test folder), then `dialog` (events and answers).
  void run(const std::string& basePoint, const std::string& project, const std::string& dialog) {
    runCommand(basePoint + "\nall\n\n" + path(project) + "\n" + dialog);
    EXPECT_FALSE(cad::input().failed()) << transcript();
  }

  std::string path(const std::string& name) const { return dir + "/" + name; }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  // Every entry of the test folder with its bytes ("<folder>" for a folder).
  std::map<std::string, std::string> listing() const {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      entries[name] = entry.is_directory() ? "<folder>" : read(name);
    }
    return entries;
  }
  int fileCount() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }
  std::string dir;
};

TEST_F(ExportFlowTest, TheHouseBecomesANewProjectByteForByte) {
  drawHouse();
  run("0,0", "house.prj", "click 1005\n");
  EXPECT_EQ(read("house.N1"), kHouseAxisFile);
  EXPECT_EQ(read("house.inf"), "-2500.000000,-4500.000000,0.000000,0.000000,3,1.000000,");
  const std::string project = read("house.prj");
  EXPECT_EQ(project.size(), 1413u);
  EXPECT_EQ(project.substr(0, 13), "Version97.5\r\n");
  EXPECT_EQ(project.substr(project.size() - 5), "0\r\n\r\n");
  EXPECT_EQ(fileCount(), 3);
  // The dialog opened with the new project's values.
  EXPECT_NE(transcript().find("1002 edit \"-2500\""), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("selected 3"), std::string::npos);
  // Two trace lines per axis.
  EXPECT_NE(transcript().find("IntrinsicScale:1.000000\niScale:1.000000\n"
                              "IntrinsicScale:1.000000\niScale:1.000000\n"),
            std::string::npos);
}

TEST_F(ExportFlowTest, TheCommandSaysWhatBecameAxesWhatSaveWroteAndWhenFloorOneResetTheProject) {
  drawHouse();
  cad::currentDatabase().append(std::make_unique<AcDbCircle>());
  run("0,0", "house.prj", "click 1005\n");
  const std::string first = transcript();
  EXPECT_NE(first.find("\n2 条直线(LINE)和 0 条弧(ARC)成为轴线，其余 1 个实体已忽略。\n\nOpen [x]"),
            std::string::npos)
      << first;
  // After the trace lines.
  EXPECT_NE(first.find("iScale:1.000000\n已写入 " + path("house.N1") + "：2 条轴线，4 段\n"),
            std::string::npos)
      << first;
  EXPECT_EQ(first.find("第1标准层重新导出"), std::string::npos) << "a new project resets nothing";

  cad::commandLine().clear();
  run("5000,0", "house.prj", "click 1005\nyes\n");
  EXPECT_NE(transcript().find("已写入 " + path("house.N1") +
                              "：2 条轴线，4 段\n"
                              "第1标准层重新导出，工程坐标系已按本图重新设定：原点 -2500,-4500，"
                              "基准点 5000,0\n"),
            std::string::npos)
      << transcript();
  EXPECT_EQ(read("house.inf"), "-2500.000000,-4500.000000,5000.000000,0.000000,3,1.000000,");
}

TEST_F(ExportFlowTest, StoppingTheCrossingSearchWritesNothing) {
  drawHouse();
  // Esc typed while the crossings are searched: the input holds it already.
  std::istringstream typed(
      "0,0\nall\n\n\x1b"
      "house.prj\nclick 1005\n");
  cad::setInput(std::make_unique<cad::TerminalInput>(typed));
  cad::SessionResult result;
  ASSERT_TRUE(cad::CommandProcessor().runCommand("acadtomn", &result));
  EXPECT_EQ(result.commandErrors, 0);
  EXPECT_EQ(cad::currentDatabase().openObjectCount(), 0) << "objects left open";
  EXPECT_NE(transcript().find("已中止，未写入任何文件。"), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("Open [x]"), std::string::npos) << "no file chooser";
  EXPECT_EQ(fileCount(), 0);
}

TEST_F(ExportFlowTest, CancellingTheFileChooserWritesNothing) {
  drawHouse();
  runCommand("0,0\nall\n\n*cancel*\n");
  EXPECT_EQ(fileCount(), 0);
  EXPECT_EQ(transcript().find("dialog \""), std::string::npos) << "no export dialog";
}

TEST_F(ExportFlowTest, AnExistingProjectTakesItsParametersFromTheParameterFile) {
  drawHouse();
  write("house.prj", "existing project\r\n");
  const std::string parameters = "-2500.000000,-1500.000000,1000.000000,500.000000,3,1.000000,";
  write("house.inf", parameters);
  run("1000,500", "house.prj", "set 1004 2\nclick 1005\n");
  // X = (x - 1000) / 1000 + 3.5, Y = (y - 500) / 1000 + 2.
  EXPECT_EQ(read("house.N2"),
            "0\r\nGraph Link\r\n4\r\n"
            "9,0\r\n 7.500000,1.500000,2.500000,1.500000,0,0\r\n"
            "9,0\r\n 12.500000,1.500000,7.500000,1.500000,0,0\r\n"
            "9,0\r\n 7.500000,1.500000,7.500000,-1.500000,0,0\r\n"
            "9,0\r\n 7.500000,4.500000,7.500000,1.500000,0,0\r\n");
  EXPECT_EQ(read("house.inf"), parameters);
  EXPECT_EQ(read("house.prj"), "existing project\r\n");
  EXPECT_NE(transcript().find("1002 edit \"-2500\""), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("1003 edit \"1000\""), std::string::npos) << transcript();
}

TEST_F(ExportFlowTest, FloorOneAgainRewritesTheParametersBeforeItsAxisFile) {
  drawHouse();
  write("house.prj", "p");
  write("house.inf", "-1.000000,-2.000000,3.000000,4.000000,3,1.000000,");
  write("house.N1", "old floor 1");
  // Scale 2:1 this time: drawing values count double.
  run("0,0", "house.prj", "set 1009 2\nclick 1005\nyes\n");
  EXPECT_EQ(read("house.inf"), "-2500.000000,-4500.000000,0.000000,0.000000,3,2.000000,");
  // With the rewritten parameters as the project's own, the base point lands
  // on the reference point: X = (x + 2500) * 2 / 1000.
  EXPECT_EQ(read("house.N1"),
            "0\r\nGraph Link\r\n4\r\n"
            "9,0\r\n 15.000000,9.000000,5.000000,9.000000,0,0\r\n"
            "9,0\r\n 25.000000,9.000000,15.000000,9.000000,0,0\r\n"
            "9,0\r\n 15.000000,9.000000,15.000000,3.000000,0,0\r\n"
            "9,0\r\n 15.000000,15.000000,15.000000,9.000000,0,0\r\n");
}

TEST_F(ExportFlowTest, AnotherFloorLeavesTheParameterFileAlone) {
  drawHouse();
  write("house.prj", "p");
  const std::string parameters = "-1.000000,-2.000000,3.000000,4.000000,3,1.000000,";
  write("house.inf", parameters);
  write("house.N1", "floor 1");
  run("0,0", "house.prj", "set 1004 2\nclick 1005\n");
  EXPECT_EQ(read("house.inf"), parameters);
  EXPECT_EQ(read("house.N1"), "floor 1");
  EXPECT_NE(read("house.N2"), "<missing>");
}

TEST_F(ExportFlowTest, ARefusalShowsTheMessageAndTheDialogAgain) {
  drawHouse();
  // In metres the house is 10 km wide: refused. Then millimetres again.
  run("0,0", "house.prj", "select 1010 0\nclick 1005\nok\nselect 1010 3\nclick 1005\n");
  EXPECT_NE(transcript().find("数据过大，您可能选择了一个错误的比例尺或单位"), std::string::npos)
      << transcript();
  EXPECT_EQ(read("house.N1"), kHouseAxisFile);
}

TEST_F(ExportFlowTest, NamesAreCutAtTheFirstDotAndTakeTheFloorInFull) {
  drawHouse();
  run("0,0", "tower.v2.prj", "set 1004 1000\nclick 1005\n");
  EXPECT_NE(read("tower.v2.prj"), "<missing>");
  EXPECT_NE(read("tower.inf"), "<missing>");
  EXPECT_EQ(read("tower.N1000"), kHouseAxisFile);
  EXPECT_EQ(fileCount(), 3);
}

TEST_F(ExportFlowTest, DecliningToOverwriteEndsWithoutWriting) {
  drawHouse();
  write("house.prj", "p");
  write("house.inf", "0.000000,0.000000,0.000000,0.000000,3,1.000000,");
  write("house.N3", "floor 3");
  run("0,0", "house.prj", "set 1004 3\nclick 1005\nno\n");
  EXPECT_EQ(read("house.N3"), "floor 3");
  EXPECT_NE(transcript().find("该标准层数据已存在，是否覆盖?"), std::string::npos) << transcript();
}

// Nothing to export ends the command before the file chooser: no empty floor
// can replace a good one.
TEST_F(ExportFlowTest, ASelectionWithoutAxesEndsBeforeTheFileChooser) {
  auto circle = std::make_unique<AcDbCircle>();
  circle->radius = 500;
  cad::currentDatabase().append(std::move(circle));
  write("house.N1", "good floor 1");
  runCommand("100,200\nall\n\n" + path("house.prj") + "\nclick 1005\nyes\n");
  EXPECT_NE(transcript().find("0 条直线(LINE)和 0 条弧(ARC)成为轴线，其余 1 个实体已忽略。\n"
                              "没有轴线，未导出任何文件。\n"),
            std::string::npos)
      << transcript();
  EXPECT_EQ(transcript().find("Open [x]"), std::string::npos) << "no file chooser";
  EXPECT_EQ(read("house.N1"), "good floor 1");
  EXPECT_EQ(fileCount(), 1);
}

// The overwrite question keeps the floor unless the answer is yes.
TEST_F(ExportFlowTest, OnlyAnExplicitYesReplacesAnExportedFloor) {
  struct Case {
    const char* answer;
    bool replaced;
  } cases[] = {{"", false}, {"key enter", false}, {"no", false}, {"*cancel*", false},
               {"y", true}, {"是", true},         {"yes", true}};
  for (const Case& c : cases) {
    cad::commandLine().clear();
    drawHouse();
    write("house.prj", "p");
    write("house.inf", "-2500.000000,-4500.000000,0.000000,0.000000,3,1.000000,");
    write("house.N2", "floor 2");
    runCommand("0,0\nall\n\n" + path("house.prj") + "\nset 1004 2\nclick 1005\n" + c.answer + "\n");
    EXPECT_EQ(read("house.N2") == kHouseAxisFile, c.replaced) << "answer \"" << c.answer << "\"";
    EXPECT_EQ(read("house.N2") == "floor 2", !c.replaced) << "answer \"" << c.answer << "\"";
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

TEST_F(ExportFlowTest, AnAxisFileThatCannotBeWrittenIsReportedAndLosesNothing) {
  drawHouse();
  write("house.prj", "p");
  const std::string parameters = "0.000000,0.000000,0.000000,0.000000,3,1.000000,";
  write("house.inf", parameters);
  fs::create_directory(path("house.N2"));  // a folder where the axis file goes
  run("0,0", "house.prj", "set 1004 2\nclick 1005\nyes\nok\n");
  EXPECT_NE(transcript().find("无法写入文件：" + path("house.N2") + "\n原因：已有同名的文件夹"),
            std::string::npos)
      << transcript();
  EXPECT_TRUE(fs::is_directory(path("house.N2")));
  EXPECT_EQ(read("house.inf"), parameters);
  EXPECT_EQ(read("house.prj"), "p");
  EXPECT_EQ(fileCount(), 3);  // no temporary file left behind
}

TEST_F(ExportFlowTest, AnUnreadableParameterFileLandsTheBasePointOnTheOrigin) {
  drawHouse();
  write("house.prj", "p");
  fs::create_directory(path("house.inf"));  // cannot be read as a file
  run("5000,0", "house.prj", "select 1010 3\nclick 1005\n");
  // Origin and reference point 0, millimetres at 1:1: X = (x - 5000) / 1000.
  EXPECT_EQ(read("house.N1"),
            "0\r\nGraph Link\r\n4\r\n"
            "9,0\r\n 0.000000,0.000000,-5.000000,0.000000,0,0\r\n"
            "9,0\r\n 5.000000,0.000000,0.000000,0.000000,0,0\r\n"
            "9,0\r\n 0.000000,0.000000,0.000000,-3.000000,0,0\r\n"
            "9,0\r\n 0.000000,3.000000,0.000000,0.000000,0,0\r\n");
}

// Floor 1 again moves the project's reference point only together with an
// axis file that uses it: when that file is refused or cannot be written,
// the parameter file stays as it was.
TEST_F(ExportFlowTest, FloorOneRewritesTheParametersOnlyAfterItsAxisFile) {
  struct Case {
    const char* label;
    bool readOnlyAxisFile;
    const char* dialog;
    const char* message;
  } cases[] = {
      // Metres: the house is 10 km wide. Then Exit.
      {"refused", false, "select 1010 0\nclick 1005\nyes\nok\nclick 1006\n",
       "数据过大，您可能选择了一个错误的比例尺或单位"},
      {"read-only axis file", true, "click 1005\nyes\nok\n", "原因：文件为只读"},
  };
  const std::string parameters = "-1.000000,-2.000000,3.000000,4.000000,3,1.000000,";
  for (const Case& c : cases) {
    cad::commandLine().clear();
    drawHouse();
    write("house.prj", "p");
    write("house.inf", parameters);
    write("house.N1", "old floor 1");
    if (c.readOnlyAxisFile) fs::permissions(path("house.N1"), fs::perms(0444));
    run("0,0", "house.prj", c.dialog);
    EXPECT_NE(transcript().find(c.message), std::string::npos) << c.label << "\n" << transcript();
    EXPECT_EQ(read("house.inf"), parameters) << c.label;
    EXPECT_EQ(read("house.N1"), "old floor 1") << c.label;
    EXPECT_EQ(fileCount(), 3) << c.label;
    fs::permissions(path("house.N1"), fs::perms(0644));
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

TEST_F(ExportFlowTest, ReplacedFilesKeepTheirModes) {
  drawHouse();
  write("house.prj", "p");
  write("house.inf", "0.000000,0.000000,0.000000,0.000000,3,1.000000,");
  write("house.N1", "old floor 1");
  fs::permissions(path("house.inf"), fs::perms(0640));
  fs::permissions(path("house.N1"), fs::perms(0604));
  run("0,0", "house.prj", "click 1005\nyes\n");
  EXPECT_EQ(read("house.N1"), kHouseAxisFile);
  EXPECT_EQ(read("house.inf"), "-2500.000000,-4500.000000,0.000000,0.000000,3,1.000000,");
  EXPECT_EQ(fs::status(path("house.inf")).permissions(), fs::perms(0640));
  EXPECT_EQ(fs::status(path("house.N1")).permissions(), fs::perms(0604));
}

// Axes near the largest double: their extent overflows, and so would the
// proposed origin. Refused as too large; no file gets an infinity.
TEST_F(ExportFlowTest, AnOriginBeyondTheRangeOfANumberIsRefusedAndNothingWritten) {
  line(-1.7e308, 0, 1.7e308, 0);
  line(0, -1.7e308, 0, 1.7e308);
  run("0,0", "house.prj", "ok\n");
  EXPECT_NE(transcript().find("数据过大"), std::string::npos) << transcript();
  EXPECT_EQ(transcript().find("dialog \""), std::string::npos) << "no dialog for it";
  EXPECT_EQ(fileCount(), 0);

  const std::string parameters = "0.000000,0.000000,0.000000,0.000000,3,1.000000,";
  write("house.prj", "p");
  write("house.inf", parameters);
  write("house.N1", "old floor 1");
  cad::commandLine().clear();
  run("0,0", "house.prj", "click 1005\nyes\nok\nclick 1006\n");
  EXPECT_NE(transcript().find("数据过大"), std::string::npos) << transcript();
  EXPECT_EQ(read("house.inf"), parameters);
  EXPECT_EQ(read("house.N1"), "old floor 1");
}

TEST_F(ExportFlowTest, AParameterFileWithAValueBeyondRangeCountsAsUnreadable) {
  drawHouse();
  write("house.prj", "p");
  write("house.inf", "1e382,0.000000,0.000000,0.000000,3,1.000000,");
  run("5000,0", "house.prj", "select 1010 3\nclick 1005\n");
  EXPECT_EQ(transcript().find("inf\""), std::string::npos) << transcript();
  // As with no parameter file: the base point lands on origin 0.
  EXPECT_NE(read("house.N1").find("9,0\r\n 0.000000,0.000000,-5.000000,0.000000,0,0\r\n"),
            std::string::npos)
      << read("house.N1");
}

TEST_F(ExportFlowTest, AProjectAnotherExporterHoldsIsLeftAlone) {
  drawHouse();
  std::unique_ptr<FolderLock> held;
  ASSERT_TRUE(hostFileSystem().lockFolder(dir, 0, &held).isOk());
  run("0,0", "house.prj", "ok\n");
  EXPECT_NE(transcript().find("工程" + path("house.prj") + "正被另一个程序使用"), std::string::npos)
      << transcript();
  EXPECT_EQ(fileCount(), 0);
  held.reset();
  run("0,0", "house.prj", "click 1005\n");
  EXPECT_EQ(read("house.N1"), kHouseAxisFile);
}

// A new project is written at Save, after its first axis file: whatever ends
// the command before that leaves the folder as it was.
TEST_F(ExportFlowTest, CancellingANewProjectAnywhereLeavesTheFolderAsItWas) {
  struct Case {
    const char* label;
    const char* typed;  // after the project file's name
  } cases[] = {
      {"exit button", "click 1006\n"},
      {"Esc in the dialog", "key ESC\n"},
      {"close box", "close\n"},
      {"overwrite declined", "click 1005\nno\n"},
      {"overwrite left to Enter", "click 1005\n\n"},
      {"refused, then exit", "select 1010 0\nclick 1005\nok\nclick 1006\n"},
      {"end of the script", ""},
  };
  write("notes.txt", "not part of any project");
  write("house.N1", "floor 1 of a project whose files are gone");
  const auto before = listing();
  for (const Case& c : cases) {
    cad::commandLine().clear();
    drawHouse();
    runCommand("0,0\nall\n\n" + path("house.prj") + "\n" + c.typed);
    EXPECT_NE(transcript().find("dialog \""), std::string::npos) << c.label;
    EXPECT_EQ(listing(), before) << c.label << "\n" << transcript();
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

// Answers `lines`, then Ctrl-C (to every asker, as a terminal does).
class LinesThenInterrupt final : public cad::InputSource {
 public:
  explicit LinesThenInterrupt(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  cad::Answer next() override {
    cad::Answer answer;
    if (next_ < lines_.size()) {
      answer.kind = cad::Answer::Kind::kLine;
      answer.text = lines_[next_++];
    } else {
      answer.kind = cad::Answer::Kind::kInterrupt;
    }
    return answer;
  }
  void reject(const cad::Answer&, std::string_view) override { failed_ = true; }
  bool interactive() const override { return false; }
  bool failed() const override { return failed_; }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  bool failed_ = false;
};

TEST_F(ExportFlowTest, CtrlCInTheDialogOrAtTheQuestionOfANewProjectWritesNothing) {
  const std::vector<std::string> before[] = {
      {}, {"click 1005"},  // Ctrl-C at the overwrite question
  };
  write("house.N1", "floor 1");
  for (const std::vector<std::string>& dialog : before) {
    cad::commandLine().clear();
    drawHouse();
    std::vector<std::string> lines = {"0,0", "all", "", path("house.prj")};
    lines.insert(lines.end(), dialog.begin(), dialog.end());
    cad::setInput(std::make_unique<LinesThenInterrupt>(lines));
    cad::SessionResult result;
    ASSERT_TRUE(cad::CommandProcessor().runCommand("acadtomn", &result));
    EXPECT_NE(transcript().find("dialog \""), std::string::npos) << transcript();
    EXPECT_EQ(fileCount(), 1) << transcript();
    EXPECT_EQ(read("house.N1"), "floor 1");
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

TEST_F(ExportFlowTest, ANewProjectWhoseAxisFileFailsLeavesNothingOfIt) {
  drawHouse();
  fs::create_directory(path("house.N1"));  // a folder where the axis file goes
  run("0,0", "house.prj", "click 1005\nyes\nok\n");
  EXPECT_NE(transcript().find("无法写入文件：" + path("house.N1")), std::string::npos)
      << transcript();
  EXPECT_EQ(read("house.prj"), "<missing>");
  EXPECT_EQ(read("house.inf"), "<missing>");
  EXPECT_EQ(fileCount(), 1);
}

// Runs `check` in a child process as the unprivileged user "nobody" when
// this process is root (as test machines run), so that folder permissions
// apply; as itself otherwise. The child's transcript comes back in
// `*transcriptOut`; true when the child's check held.
bool runUnprivileged(const std::function<bool()>& check, std::string* transcriptOut) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    close(pipeEnds[0]);
    bool dropped = geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 &&
                                      setuid(65534) == 0 && geteuid() == 65534);
    const bool held = dropped && check();
    const std::string& shown = cad::commandLine().transcript();
    const std::string report = (dropped ? "" : "could not become nobody\n") + shown;
    if (write(pipeEnds[1], report.data(), report.size()) < 0) _exit(3);
    _exit(held ? 0 : 1);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  transcriptOut->clear();
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    transcriptOut->append(buffer, static_cast<std::size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(ExportFlowTest, AFolderTheUserCannotCreateFilesInIsRefusedAtTheFilePrompt) {
  drawHouse();
  // Searchable by everyone, writable by its owner (root when the test runs
  // as root) only; "open" is writable by everyone.
  fs::permissions(dir, fs::perms(0755));
  fs::create_directory(path("locked"));
  fs::permissions(path("locked"), fs::perms(0755));
  fs::create_directory(path("open"));
  fs::permissions(path("open"), fs::perms(0777));
  if (geteuid() != 0) fs::permissions(path("locked"), fs::perms(0555));
  const std::string script = "0,0\nall\n\n" + path("locked/house.prj") + "\nok\n" +
                             path("open/house.prj") + "\nclick 1005\n";
  std::string shown;
  const bool held = runUnprivileged(
      [&] {
        cad::setInput(std::make_unique<cad::ScriptInput>("test.scr", script));
        cad::SessionResult result;
        return cad::CommandProcessor().runCommand("acadtomn", &result) && result.commandErrors == 0;
      },
      &shown);
  EXPECT_TRUE(held) << shown;
  const std::string message = "无法在文件夹" + path("locked/") + "中创建文件，请另选位置。";
  const std::size_t first = shown.find(message);
  EXPECT_NE(first, std::string::npos) << shown;
  EXPECT_EQ(shown.find(message, first + 1), std::string::npos) << "one message";
  const std::size_t chooser = shown.find("Open [x]");
  EXPECT_NE(shown.find("Open [x]", chooser + 1), std::string::npos) << "the name asked again";
  EXPECT_LT(first, shown.find("dialog \"")) << shown;
  EXPECT_TRUE(fs::is_empty(path("locked")));
  EXPECT_EQ(read("open/house.N1"), kHouseAxisFile);
  EXPECT_NE(read("open/house.prj"), "<missing>");
  fs::permissions(path("locked"), fs::perms(0755));
}

// A 3 x 3 grid of 6 m bays (four lines each way, 18 m square) from (0, 0),
// in drawing units of `unit` metres, declaring `insUnits`.
void drawGrid(double unit, int insUnits) {
  cad::currentDatabase().setDeclaredUnits(insUnits);
  for (int i = 0; i <= 3; ++i) {
    const double at = 6 * i / unit;
    cad::currentDatabase().append(
        std::make_unique<AcDbLine>(AcGePoint3d(at, 0, 0), AcGePoint3d(at, 18 / unit, 0)));
    cad::currentDatabase().append(
        std::make_unique<AcDbLine>(AcGePoint3d(0, at, 0), AcGePoint3d(18 / unit, at, 0)));
  }
}

// Each drawing declares its unit and is saved with what the dialog proposes.
TEST_F(ExportFlowTest, TheSameGridInMetresAndMillimetresGivesTheSameFloor) {
  drawGrid(1.0, 6);
  run("0,0", "metres.prj", "click 1005\n");
  EXPECT_NE(transcript().find("selected 0"), std::string::npos) << "米 proposed\n" << transcript();
  EXPECT_EQ(read("metres.inf"), "-4.500000,-4.500000,0.000000,0.000000,0,1.000000,")
      << "the unit of the first Save";
  cad::setCurrentDatabase(std::make_unique<cad::Database>());
  cad::commandLine().clear();
  drawGrid(0.001, 4);
  run("0,0", "millimetres.prj", "click 1005\n");
  EXPECT_NE(transcript().find("selected 3"), std::string::npos) << transcript();
  EXPECT_EQ(read("millimetres.inf"), "-4500.000000,-4500.000000,0.000000,0.000000,3,1.000000,");
  EXPECT_NE(read("metres.N1"), "<missing>");
  EXPECT_EQ(read("metres.N1"), read("millimetres.N1"));
  EXPECT_NE(read("metres.N1").find(" 4.500000,10.500000,4.500000,4.500000,0,0\r\n"),
            std::string::npos)
      << read("metres.N1");
}

TEST_F(ExportFlowTest, FloorsInMetresAndMillimetresOfOneProjectLineUpInMorlenview) {
  drawGrid(1.0, 6);
  run("0,0", "house.prj", "click 1005\n");
  cad::setCurrentDatabase(std::make_unique<cad::Database>());
  cad::commandLine().clear();
  drawGrid(0.001, 4);
  run("0,0", "house.prj", "set 1004 2\nselect 1010 3\nclick 1005\n");
  EXPECT_NE(transcript().find("本图声明单位为毫米，与工程单位米不同"), std::string::npos)
      << transcript();
  EXPECT_EQ(read("house.N2"), read("house.N1"));
  const std::string command = std::string(MORLENVIEW_PATH) + " " + path("house.prj") + " --out " +
                              path("pictures") + " --format svg > " + path("morlenview.txt") +
                              " 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << read("morlenview.txt");
  EXPECT_NE(read("morlenview.txt").find("they line up"), std::string::npos)
      << read("morlenview.txt");
}

// What a declared unit proposes, and the line that says why not. Millimetre
// drawings, declaring metres or nothing, stay as they were: 毫米 at 1 and
// the tolerance 0.3 (the two points 0.25 apart stay one point).
TEST_F(ExportFlowTest, TheDialogProposesTheDeclaredUnitWhenTheAxesFitIt) {
  struct Case {
    const char* label;
    double unit;  // metres per drawing unit
    int insUnits;
    const char* selected;
    const char* note;  // null: none
  } cases[] = {
      {"metres", 1.0, 6, "selected 0", nullptr},
      {"centimetres", 0.01, 5, "selected 2", nullptr},
      {"decimetres", 0.1, 14, "selected 1", nullptr},
      {"millimetres", 0.001, 4, "selected 3", nullptr},
      {"millimetres declaring metres", 0.001, 6, "selected 3",
       "图纸声明单位为米，但所选轴线跨度为 18,000 个单位：建议选择毫米。"},
      {"millimetres declaring nothing", 0.001, 0, "selected 3", nullptr},
      {"inches", 0.0254, 1, "selected 3", "若确以英寸绘制，请选择毫米并将比例尺设为25.4"},
      {"feet", 0.3048, 2, "selected 3", "若确以英尺绘制，请选择毫米并将比例尺设为304.8"},
      {"metres declaring millimetres", 1.0, 4, "selected 3",
       "图纸声明单位为毫米，但所选轴线跨度仅 18 个单位"},
  };
  for (const Case& c : cases) {
    cad::commandLine().clear();
    drawGrid(c.unit, c.insUnits);
    runCommand("0,0\nall\n\n" + path("p.prj") + "\nclick 1006\n");
    EXPECT_NE(transcript().find(c.selected), std::string::npos) << c.label << "\n" << transcript();
    if (c.note != nullptr) {
      // Printed once before the dialog, and in the dialog's status line.
      const std::size_t printed = transcript().find(c.note);
      EXPECT_NE(printed, std::string::npos) << c.label << "\n" << transcript();
      EXPECT_NE(transcript().find(c.note, printed + 1), std::string::npos) << c.label;
    } else {
      EXPECT_EQ(transcript().find("图纸声明"), std::string::npos) << c.label << "\n"
                                                                  << transcript();
    }
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

// Two short walls 25 cm apart in a metre drawing stay two walls; in a
// millimetre drawing points 0.25 apart are still one point.
TEST_F(ExportFlowTest, PointsMergeWithinThreeTenthsOfAMillimetreInTheDrawingsUnit) {
  struct Case {
    const char* label;
    double unit;
    int insUnits;
    double gap;  // drawing units between two crossing points on the base line
    int segments;
  } cases[] = {
      {"metres, 25 cm apart", 1.0, 6, 0.25, 3},
      {"millimetres, 0.25 apart", 0.001, 4, 0.25, 2},
      {"millimetres declaring metres, 0.25 apart", 0.001, 6, 0.25, 2},
  };
  int run = 0;
  for (const Case& c : cases) {
    cad::commandLine().clear();
    cad::currentDatabase().setDeclaredUnits(c.insUnits);
    const double length = 10 / c.unit;  // 10 m
    line(0, 0, length, 0);
    line(length / 2, -length / 4, length / 2, length / 4);
    line(length / 2 + c.gap, -length / 4, length / 2 + c.gap, length / 4);
    runCommand("0,0\nall\n\n" + path("t" + std::to_string(++run) + ".prj") + "\nclick 1005\n");
    // The base line holds its two ends and the crossings that stay apart;
    // each cross line 2 segments.
    EXPECT_NE(transcript().find("：3 条轴线，" + std::to_string(c.segments + 4) + " 段"),
              std::string::npos)
        << c.label << "\n"
        << transcript();
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

// Every ezdxf drawing declares metres; one drawn in millimetres gives the
// files it gave before the proposal, whatever it declares.
TEST_F(ExportFlowTest, AMillimetreHouseGivesTheSameFilesWhateverItDeclares) {
  for (int declared : {0, 4, 6}) {
    cad::commandLine().clear();
    drawHouse();
    cad::currentDatabase().setDeclaredUnits(declared);
    const std::string name = "house" + std::to_string(declared);
    run("0,0", name + ".prj", "click 1005\n");
    EXPECT_EQ(read(name + ".N1"), kHouseAxisFile) << declared;
    EXPECT_EQ(read(name + ".inf"), "-2500.000000,-4500.000000,0.000000,0.000000,3,1.000000,")
        << declared;
    cad::setCurrentDatabase(std::make_unique<cad::Database>());
  }
}

}  // namespace
