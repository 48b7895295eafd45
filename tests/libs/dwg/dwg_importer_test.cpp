#include "dwg/dwg_importer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using cad::dwg::DwgVersion;
using cad::dwg::importDwg;
using cad::dwg::ImporterSettings;

const DwgVersion k2000{"AC1015", "2000", true, false};

// An importer made of a shell script: $1 is the DWG, $2 the DXF to write.
ImporterSettings shellImporter(const std::string& script,
                               std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  ImporterSettings settings;
  settings.command = {"/bin/sh", "-c", script, "importer"};
  settings.timeLimit = limit;
  return settings;
}

// Whether process `pid` exists and is not a zombie.
bool running(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string id, name, state;
  return (stat >> id >> name >> state) && state != "Z";
}

class DwgImporter : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(cad::dwg::TemporaryFolder::make(folder_).isOk()); }
  std::string path(const std::string& name) const { return (folder_.path() / name).string(); }

  cad::dwg::TemporaryFolder folder_;
};

TEST_F(DwgImporter, PassesTheDrawingAndTheDxfToWriteAndTakesItsDxf) {
  const base::Status imported =
      importDwg("in.dwg", k2000, path("out.dxf"), shellImporter("echo \"from $1\" > \"$2\""));
  ASSERT_TRUE(imported.isOk()) << imported.message();
  std::ifstream dxf(path("out.dxf"));
  std::string line;
  std::getline(dxf, line);
  EXPECT_EQ(line, "from in.dwg");
}

TEST_F(DwgImporter, RefusesEveryFailureNamingTheFileTheVersionAndTheFix) {
  const std::string fixInstall = "; run scripts/ensure-packages";
  const std::string saveAsDxf =
      "save it as DXF in the program that made it and open the DXF instead";
  struct Case {
    const char* label;
    ImporterSettings settings;
    std::string message;
  } cases[] = {
      {"unreadable drawing", shellImporter("echo noise; echo 'bad section map' >&2; exit 2"),
       "a.dwg: DWG 2000 (AC1015) could not be read: bad section map; " + saveAsDxf},
      {"reader package missing", shellImporter("echo 'not in /x' >&2; exit 3"),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG reader is not installed: not in /x" +
           fixInstall},
      {"crash", shellImporter("echo 'memory access out of bounds'; kill -SEGV $$"),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer was ended by signal 11: "
       "memory access out of bounds" +
           fixInstall + " if it is not installed properly, or " + saveAsDxf},
      {"other failure", shellImporter("exit 1"),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer failed with exit status 1" +
           fixInstall + " if it is not installed properly, or " + saveAsDxf},
      {"no DXF written", shellImporter("exit 0"),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer wrote no DXF" + fixInstall +
           " if it is not installed properly, or " + saveAsDxf},
      {"no Node.js", ImporterSettings{{"/nonexistent/node", "x.mjs"}, "", std::chrono::seconds(5)},
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer needs /nonexistent/node "
       "(Node.js), which is not installed" +
           fixInstall},
      {"no importer", ImporterSettings{{}, "the importer /x/dwg-import.mjs is not there", {}},
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer is not installed (the "
       "importer /x/dwg-import.mjs is not there)" +
           fixInstall},
      {"hang", shellImporter("sleep 30", std::chrono::milliseconds(300)),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer did not finish within 0.3 s "
       "and was stopped (TAVRIN_DWG_TIME_LIMIT sets the limit in seconds); or " +
           saveAsDxf},
      // A child that closes its outputs and goes on is held to the limit too.
      {"hang with closed outputs",
       shellImporter("exec >/dev/null 2>&1; sleep 30", std::chrono::milliseconds(300)),
       "a.dwg: DWG 2000 (AC1015) cannot be opened: the DWG importer did not finish within 0.3 s"},
  };
  for (const Case& c : cases) {
    const base::Status imported = importDwg("a.dwg", k2000, path("out.dxf"), c.settings);
    ASSERT_FALSE(imported.isOk()) << c.label;
    EXPECT_EQ(imported.message().substr(0, c.message.size()), c.message) << c.label;
    EXPECT_FALSE(fs::exists(path("out.dxf"))) << c.label;
  }
}

// The importer's whole process group is stopped at the limit: a reader it
// started does not live on.
TEST_F(DwgImporter, StopsWhatTheImporterStartedWhenTheLimitIsReached) {
  const std::string pidFile = path("child.pid");
  const base::Status imported =
      importDwg("a.dwg", k2000, path("out.dxf"),
                shellImporter("sleep 30 & echo $! > '" + pidFile + "'; wait",
                              std::chrono::milliseconds(500)));
  ASSERT_FALSE(imported.isOk());
  std::ifstream file(pidFile);
  pid_t child = 0;
  ASSERT_TRUE(file >> child);
  // A killed process is gone, or a zombie until its new parent reaps it;
  // the signal may take a moment to land.
  bool gone = false;
  for (int i = 0; i < 200 && !gone; ++i) {
    gone = !running(child);
    if (!gone) ::usleep(10000);
  }
  EXPECT_TRUE(gone) << "the importer's child " << child << " still runs";
}

TEST_F(DwgImporter, RefusesVersionsBeforeR13AndUnknownOnesWithoutRunningTheImporter) {
  const ImporterSettings runs = shellImporter("touch '" + path("ran") + "'; exit 1");
  const base::Status old =
      importDwg("old.dwg", {"AC1009", "R11/R12", false, true}, path("o.dxf"), runs);
  EXPECT_EQ(old.message(),
            "old.dwg: DWG R11/R12 (AC1009) is older than R13, the oldest DWG this host opens; save "
            "it as DXF in the program that made it and open the DXF instead");
  const base::Status newer =
      importDwg("new.dwg", {"AC1033", "unknown", false, false}, path("o.dxf"), runs);
  EXPECT_EQ(newer.message(),
            "new.dwg: DWG unknown (AC1033) is a version this host does not open (it opens R13 to "
            "2018); save it as DXF in the program that made it and open the DXF instead");
  EXPECT_FALSE(fs::exists(path("ran")));
}

TEST_F(DwgImporter, DefaultSettingsFindTheImporterBesideTheProgramOrWhereTheEnvironmentSays) {
  fs::create_directories(folder_.path() / "dwg-import");
  std::ofstream(path("dwg-import/dwg-import.mjs")) << "// importer\n";
  unsetenv("TAVRIN_DWG_IMPORTER");
  unsetenv("TAVRIN_DWG_TIME_LIMIT");
  ImporterSettings beside = cad::dwg::defaultImporterSettings(folder_.path());
  EXPECT_EQ(beside.command, (std::vector<std::string>{"node", path("dwg-import/dwg-import.mjs")}));
  EXPECT_EQ(beside.timeLimit, std::chrono::seconds(300));

  ImporterSettings none = cad::dwg::defaultImporterSettings(folder_.path() / "nowhere");
  EXPECT_TRUE(none.command.empty());
  EXPECT_EQ(none.missing,
            "the importer " + path("nowhere/dwg-import/dwg-import.mjs") + " is not there");

  setenv("TAVRIN_DWG_IMPORTER", path("dwg-import/dwg-import.mjs").c_str(), 1);
  setenv("TAVRIN_DWG_TIME_LIMIT", "2.5", 1);
  ImporterSettings named = cad::dwg::defaultImporterSettings("/nowhere");
  EXPECT_EQ(named.command.back(), path("dwg-import/dwg-import.mjs"));
  EXPECT_EQ(named.timeLimit, std::chrono::milliseconds(2500));
  for (const char* bad : {"0", "-3", "ten", "5s", ""}) {
    setenv("TAVRIN_DWG_TIME_LIMIT", bad, 1);
    EXPECT_EQ(cad::dwg::defaultImporterSettings("/nowhere").timeLimit, std::chrono::seconds(300))
        << bad;
  }
  unsetenv("TAVRIN_DWG_IMPORTER");
  unsetenv("TAVRIN_DWG_TIME_LIMIT");
}

TEST(TemporaryFolder, IsRemovedWithWhatItHolds) {
  fs::path kept;
  {
    cad::dwg::TemporaryFolder folder;
    ASSERT_TRUE(cad::dwg::TemporaryFolder::make(folder).isOk());
    kept = folder.path();
    std::ofstream(kept / "drawing.dxf") << "0\nEOF\n";
    EXPECT_TRUE(fs::is_directory(kept));
  }
  EXPECT_FALSE(fs::exists(kept));
}

}  // namespace
