// cadhost run as a subprocess, with scripts in a temporary folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_test.h"

namespace {

namespace fs = std::filesystem;

std::string testModule(const std::string& name) {
  return std::string(TAVRIN_TEST_MODULE_DIR) + "/" + name + ".arx";
}

class CadhostTest : public ProgramTest {
 protected:
  // Runs `program` with `arguments`, standard input from `input`.
  Outcome run(const std::vector<std::string>& arguments, const std::string& input = "",
              const std::string& program = CADHOST_PATH) {
    return runShell(commandLine(program, arguments) + " <" + quoted(write("stdin.txt", input)));
  }

  // cadhost with the sound test module and `script`.
  Outcome runScript(const std::string& script, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--no-default-module", "--load", testModule("sound"),
                                          "--script", write("test.scr", script)};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return run(arguments);
  }
};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(CadhostTest, SessionRunsCommandsAndAnswersPromptsFromTheScript) {
  const Outcome r = runScript(
      "; a session\n"
      "soundhello\n"
      "SOUNDPOINT\n"
      "10,20\n"
      "soundpoint\n"
      "*cancel*\n"
      "soundpoint\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> inOrder = {
      "[sound] DllMain 1",
      "[sound] _SetacrxPtp",
      "[sound] acrxGetApiVersion",
      "[sound] acrxEntryPoint 1",
      "Command: soundhello\n[sound] hello\n",
      "请指定点:10,20\n[sound] point 5100 10.000000,20.000000,0.000000\n",
      "请指定点:*cancel*\n[sound] point -5002 ",
      "请指定点:[sound] point -5002 ",  // the end of the script cancels too
      "[sound] acrxEntryPoint 2",
      "[sound] DllMain 0",
  };
  std::size_t at = 0;
  for (const std::string& part : inOrder) {
    const auto found = r.out.find(part, at);
    ASSERT_NE(found, std::string::npos) << "missing in order: " << part << "\n" << r.out;
    at = found + part.size();
  }
  EXPECT_EQ(r.err, "");
}

TEST_F(CadhostTest, ExitStatusTellsHowTheRunEnded) {
  const struct {
    const char* label;
    std::string script;
    int status;
    std::string outMentions;
    std::string errMentions;
  } cases[] = {
      {"script error names its line", "soundhello\n;c\nnosuch\nsoundhello\n", 2,
       "test.scr:3: unknown command \"nosuch\"", "script stopped at an error"},
      {"malformed point names its line", "soundpoint\n1;2\n", 2,
       "test.scr:2: \"1;2\" is not a point", "script stopped at an error"},
      {"failed command, session goes on", "soundfail\nsoundhello\n", 2,
       "failed: deliberate failure\nCommand: soundhello\n[sound] hello", "1 command(s) failed"},
      {"abort ends the host at once", "soundabort\nsoundhello\n", 3, "[sound] 模块 gives up 7",
       "aborted by a module: [sound] 模块 gives up 7"},
      {"empty script", "", 0, "Command: ", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Outcome r = runScript(c.script);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_TRUE(contains(r.out, c.outMentions)) << r.out;
    EXPECT_TRUE(contains(r.err, c.errMentions)) << r.err;
  }
  const Outcome aborted = runScript("soundabort\nsoundhello\n");
  EXPECT_FALSE(contains(aborted.out, "[sound] hello"));
  EXPECT_FALSE(contains(aborted.out, "DllMain 0"));
}

TEST_F(CadhostTest, LoadFailuresAndBadArgumentsExitWithOne) {
  const std::string broken =
      write("broken.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
  const struct {
    const char* label;
    std::vector<std::string> arguments;
    std::string errMentions;
  } cases[] = {
      {"unknown option", {"--bogus"}, "unknown option --bogus"},
      {"option without value", {"--load"}, "--load needs a module file"},
      {"two drawings", {"a.dxf", "b.dxf"}, "only one drawing"},
      {"missing script", {"--script", "/nonexistent/x.scr"}, "/nonexistent/x.scr"},
      {"missing drawing", {"--no-default-module", "/nonexistent/x.dxf"}, "/nonexistent/x.dxf"},
      {"broken drawing", {"--no-default-module", broken}, "broken.dxf"},
      {"old module", {"--no-default-module", "--load", testModule("old_version")}, "917504"},
      {"module without entry point",
       {"--no-default-module", "--load", testModule("no_entry_point")},
       "\"acrxEntryPoint\""},
      {"missing module",
       {"--no-default-module", "--load", "/nonexistent/m.arx"},
       "/nonexistent/m.arx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Outcome r = run(c.arguments);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(contains(r.err, c.errMentions)) << r.err;
  }
}

TEST_F(CadhostTest, ModulesLoadedBeforeAFailingOneAreUnloaded) {
  const Outcome r = run(
      {"--no-default-module", "--load", testModule("sound"), "--load", testModule("old_version")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(contains(r.out, "[sound] acrxEntryPoint 2")) << r.out;
  EXPECT_TRUE(contains(r.out, "[sound] DllMain 0")) << r.out;
}

TEST_F(CadhostTest, ScriptFromStandardInput) {
  const std::string script = "soundhello\nnosuch\n";
  const Outcome dash =
      run({"--no-default-module", "--load", testModule("sound"), "--script", "-"}, script);
  EXPECT_EQ(dash.status, 2);
  EXPECT_TRUE(contains(dash.out, "[sound] hello")) << dash.out;
  EXPECT_TRUE(contains(dash.out, "<stdin>:2: unknown command")) << dash.out;
  // Without --script, standard input that is not a terminal is read as a script.
  const Outcome piped = run({"--no-default-module", "--load", testModule("sound")}, script);
  EXPECT_EQ(piped.status, 2);
  EXPECT_TRUE(contains(piped.out, "Command: soundhello\n[sound] hello\n")) << piped.out;
  EXPECT_TRUE(contains(piped.out, "<stdin>:2: unknown command \"nosuch\"")) << piped.out;
}

TEST_F(CadhostTest, ListsWhatWasLoaded) {
  const Outcome r =
      runScript("", {"--list", std::string(TAVRIN_EXAMPLES_DIR) + "/house/house.dxf"});
  EXPECT_EQ(r.status, 0) << r.err;
  for (const std::string& part :
       {std::string("Loaded modules:\n  ") + testModule("sound"),
        std::string("sound_GROUP: soundhello / soundbonjour"),
        std::string("The drawing holds 2 entities.\n  2 AcDbLine on layer AXIS\n")})
    EXPECT_TRUE(contains(r.out, part)) << part << "\n" << r.out;
}

TEST_F(CadhostTest, LoadsTavrinArxFromItsOwnFolderByDefault) {
  const fs::path program = folder_ / "cadhost";
  fs::copy_file(CADHOST_PATH, program);
  fs::copy_file(testModule("sound"), folder_ / "tavrin.arx");
  const std::string script = write("hello.scr", "soundhello\n");
  const Outcome withDefault = run({"--script", script}, "", program.string());
  EXPECT_EQ(withDefault.status, 0) << withDefault.out << withDefault.err;
  EXPECT_TRUE(contains(withDefault.out, "[sound] hello")) << withDefault.out;
  // Named again with --load, it is still loaded only once.
  const Outcome named =
      run({"--load", (folder_ / "tavrin.arx").string(), "--script", script}, "", program.string());
  EXPECT_EQ(named.status, 0) << named.err;
  const Outcome without = run({"--no-default-module", "--script", script}, "", program.string());
  EXPECT_EQ(without.status, 2);
  EXPECT_TRUE(contains(without.out, "unknown command \"soundhello\"")) << without.out;
}

TEST_F(CadhostTest, HelpDescribesTheCommandLine) {
  const Outcome r = run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains(r.out, "usage: cadhost [--load MODULE]..."));
}

// The bundled examples, run as the README's run command runs them (tavrin.arx
// beside cadhost, the project written into the current folder), write exactly
// the files kept beside them in expected/.
TEST_F(CadhostTest, BundledExamplesWriteTheExpectedFiles) {
  const fs::path examples = TAVRIN_EXAMPLES_DIR;
  for (const std::string name : {"house", "plan"}) {
    const fs::path work = folder_ / name;
    fs::create_directories(work);
    const std::string command = "cd " + quoted(work.string()) + " && " + quoted(CADHOST_PATH) +
                                " --script " +
                                quoted((examples / name / (name + ".scr")).string()) + " " +
                                quoted((examples / name / (name + ".dxf")).string()) + " >" +
                                quoted((work / "transcript").string()) + " 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << name;
    EXPECT_EQ(WEXITSTATUS(status), 0) << name << "\n" << readFile(work / "transcript");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(examples / name / "expected")) {
      const fs::path written = work / entry.path().filename();
      EXPECT_TRUE(fs::exists(written)) << written;
      EXPECT_EQ(readFile(written), readFile(entry.path())) << written;
      ++compared;
    }
    EXPECT_EQ(compared, 3) << name << ": project, parameter and axis file";
  }
}

// A batch can tell a failed write from success: the session's own status.
TEST_F(CadhostTest, AFailedWriteEndsTheSessionWithStatusFour) {
  const fs::path house = fs::path(TAVRIN_EXAMPLES_DIR) / "house";
  const auto runIn = [&](const std::string& script) {
    const std::string command = "cd " + quoted(folder_.string()) + " && " + quoted(CADHOST_PATH) +
                                " --script " + quoted(write("export.scr", script)) + " " +
                                quoted((house / "house.dxf").string()) + " >" +
                                quoted((folder_ / "out").string()) + " 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  const std::string once = "acadtomn\n0,0\nlayer AXIS\n\nhouse.prj\nclick 1005\n";
  const std::string again = once + "yes\nok\n";
  ASSERT_EQ(runIn(once), 0) << readFile(folder_ / "out");
  const std::string floor1 = readFile(folder_ / "house.N1");

  fs::permissions(folder_ / "house.N1", fs::perms(0444));
  EXPECT_EQ(runIn(again), 4) << readFile(folder_ / "out");
  EXPECT_TRUE(contains(readFile(folder_ / "out"), "原因：文件为只读")) << readFile(folder_ / "out");
  EXPECT_TRUE(contains(readFile(folder_ / "out"), "cadhost: 1 file write(s) failed"));
  EXPECT_EQ(readFile(folder_ / "house.N1"), floor1);
  fs::permissions(folder_ / "house.N1", fs::perms(0644));

  // Another process exporting into the same project: this one waits, then
  // gives up without writing.
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0);
  ASSERT_EQ(::flock(folder, LOCK_EX), 0);
  fs::remove(folder_ / "house.N1");
  EXPECT_EQ(runIn("acadtomn\n0,0\nlayer AXIS\n\nhouse.prj\nok\n"), 4) << readFile(folder_ / "out");
  EXPECT_TRUE(contains(readFile(folder_ / "out"), "正被另一个程序使用"));
  EXPECT_FALSE(fs::exists(folder_ / "house.N1"));
  ::close(folder);
  EXPECT_EQ(runIn(once), 0) << readFile(folder_ / "out");
  EXPECT_EQ(readFile(folder_ / "house.N1"), floor1);
}

}  // namespace
