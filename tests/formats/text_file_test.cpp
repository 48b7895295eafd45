#include "formats/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

TEST(TextFileDiskText, EveryLineFeedBecomesCarriageReturnLineFeed) {
  struct Case {
    const char* label;
    std::string text, disk;
  } cases[] = {
      {"empty", "", ""},
      {"no line end", "1.0,2.0,", "1.0,2.0,"},
      {"lines", "0\nGraph Link\n0\n", "0\r\nGraph Link\r\n0\r\n"},
      {"empty lines", "0\n\n", "0\r\n\r\n"},
      {"carriage return already there", "a\r\nb", "a\r\r\nb"},
      {"code page 936 bytes pass", "\xd0\xb1\xd6\xf9\n", "\xd0\xb1\xd6\xf9\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(toDiskText(c.text), c.disk) << c.label;
}

// About 4 MB of records, more than one piece of the write.
std::string largeText() {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "9 1.000000,2.000000,\n";
  return text;
}

class TextFileWriteTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  FaultInjectingFileSystem files_;
};

TEST_F(TextFileWriteTest, WritesANewFileAndReplacesAnExistingOne) {
  const std::string target = folder_.file("house.N1");
  WriteResult result = writeTextFile(target, "0\nGraph Link\n0\n", files_);
  EXPECT_EQ(result.outcome, WriteOutcome::kWritten);
  EXPECT_EQ(result.file, target);
  EXPECT_TRUE(result.status.message().empty());
  EXPECT_EQ(fileBytes(target), "0\r\nGraph Link\r\n0\r\n");

  putFileBytes(target, std::string(5000, 'z'));
  result = writeTextFile(target, "short\n", files_);
  EXPECT_TRUE(result.written());
  EXPECT_EQ(fileBytes(target), "short\r\n");
  // A file written in pieces has every line end turned, wherever a piece ends.
  const std::string large = largeText() + "\n\n";
  EXPECT_TRUE(writeTextFile(target, large, files_).written());
  EXPECT_EQ(fileBytes(target), toDiskText(large));
  EXPECT_EQ(fileBytes(target).size(), large.size() + 200002);
  // The temporary files went with their renames.
  EXPECT_EQ(folder_.entries(), std::vector<std::string>{"house.N1"});
  // Each write used a new name beside the target.
  ASSERT_EQ(files_.created.size(), 3u);
  EXPECT_NE(files_.created[0], files_.created[1]);
  for (const std::string& temporary : files_.created) {
    EXPECT_EQ(temporary.rfind(target + ".", 0), 0u) << temporary;
  }
}

TEST_F(TextFileWriteTest, FailuresLeaveTheExistingFileByteIdentical) {
  const std::string old = std::string("old\r\ncontent\r\n\0\xff", 16);
  struct Case {
    const char* label;
    void (*breakIt)(FaultInjectingFileSystem&);
  } cases[] = {
      {"cannot create", [](FaultInjectingFileSystem& f) { f.failCreate = true; }},
      {"disk full", [](FaultInjectingFileSystem& f) { f.failAppendNumber = 1; }},
      {"disk full after the first megabyte",
       [](FaultInjectingFileSystem& f) { f.failAppendNumber = 2; }},
      {"failing close", [](FaultInjectingFileSystem& f) { f.failClose = true; }},
      {"failing rename", [](FaultInjectingFileSystem& f) { f.failRename = true; }},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    FaultInjectingFileSystem files;
    c.breakIt(files);
    const std::string target = folder.file("house.inf");
    putFileBytes(target, old);
    const WriteResult result = writeTextFile(target, largeText(), files);
    EXPECT_EQ(result.outcome, WriteOutcome::kWriteFailed) << c.label;
    EXPECT_EQ(result.file, target) << c.label;
    EXPECT_FALSE(result.status.message().empty()) << c.label;
    EXPECT_NE(result.status.systemError(), 0) << c.label << ": the reason reaches the message";
    EXPECT_EQ(fileBytes(target), old) << c.label;
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"house.inf"}) << c.label;
  }
}

// Files that belong together go in place together or not at all: a failure
// before the renames, or a group dropped unfinished, leaves the folder as it
// was.
TEST_F(TextFileWriteTest, AGroupPutsItsFilesInPlaceTogetherOrLeavesTheFolderAsItWas) {
  const std::string floor = folder_.file("house.N1"), parameters = folder_.file("house.inf");
  putFileBytes(floor, "old floor");
  putFileBytes(parameters, "old parameters");
  {
    FileGroup group(files_);
    ASSERT_TRUE(group.addText(floor, "new floor\n").written());
    ASSERT_TRUE(group.addText(parameters, "new parameters").written());
    EXPECT_EQ(fileBytes(floor), "old floor") << "nothing in place before putInPlace";
  }
  EXPECT_EQ(fileBytes(floor), "old floor");
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{"house.N1", "house.inf"}));

  {
    FileGroup group(files_);
    ASSERT_TRUE(group.addText(floor, "new floor\n").written());
    files_.failAppendNumber = files_.appendCalls + 1;
    const WriteResult failed = group.addText(parameters, "new parameters");
    EXPECT_EQ(failed.outcome, WriteOutcome::kWriteFailed);
    EXPECT_EQ(failed.file, parameters);
    files_.failAppendNumber = 0;
  }
  EXPECT_EQ(fileBytes(floor), "old floor");
  EXPECT_EQ(fileBytes(parameters), "old parameters");
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{"house.N1", "house.inf"}));

  FileGroup group(files_);
  ASSERT_TRUE(group.addText(floor, "new floor\n").written());
  ASSERT_TRUE(group.addText(parameters, "new parameters").written());
  const WriteResult done = group.putInPlace();
  EXPECT_TRUE(done.written());
  EXPECT_EQ(fileBytes(floor), "new floor\r\n");
  EXPECT_EQ(fileBytes(parameters), "new parameters");
  EXPECT_EQ(folder_.entries(), (std::vector<std::string>{"house.N1", "house.inf"}));
}

// Ends the process with `signal` right after the first file is put in place.
class SignalAfterFirstReplace : public FaultInjectingFileSystem {
 public:
  explicit SignalAfterFirstReplace(int signal) : signal_(signal) {}
  FileStatus replaceFile(const std::string& from, const std::string& to) override {
    FileStatus status = FaultInjectingFileSystem::replaceFile(from, to);
    if (replaced_++ == 0) std::raise(signal_);
    return status;
  }

 private:
  int signal_;
  int replaced_ = 0;
};

TEST_F(TextFileWriteTest, ASignalNeverEndsTheProcessBetweenTwoFilesOfAGroup) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder folder;
    const std::string floor = folder.file("house.N1"), parameters = folder.file("house.inf");
    putFileBytes(floor, "old floor");
    putFileBytes(parameters, "old parameters");
    EXPECT_EXIT(
        {
          SignalAfterFirstReplace files(signal);
          FileGroup group(files);
          if (!group.addText(floor, "new floor").written() ||
              !group.addText(parameters, "new parameters").written())
            std::_Exit(1);
          group.putInPlace();
          std::_Exit(2);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_EQ(fileBytes(floor), "new floor");
    EXPECT_EQ(fileBytes(parameters), "new parameters");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"house.N1", "house.inf"}));
  }
}

TEST_F(TextFileWriteTest, MissingFolderAndFileAsFolderFailWithTheReason) {
  putFileBytes(folder_.file("plain"), "I am a file");
  struct Case {
    const char* label;
    std::string target;
    const char* reason;
  } cases[] = {
      {"missing folder", folder_.file("missing/house.N1"), "No such file or directory"},
      {"parent is a regular file", folder_.file("plain/house.N1"), "Not a directory"},
  };
  for (const Case& c : cases) {
    const WriteResult result = writeTextFile(c.target, "0\n", files_);
    EXPECT_EQ(result.outcome, WriteOutcome::kWriteFailed) << c.label;
    EXPECT_NE(result.status.message().find(c.reason), std::string::npos)
        << c.label << ": " << result.status.message();
    EXPECT_NE(result.status.message().find(folder_.path().string()), std::string::npos)
        << result.status.message();
  }
  EXPECT_EQ(fileBytes(folder_.file("plain")), "I am a file");
  EXPECT_EQ(folder_.entries(), std::vector<std::string>{"plain"});
}

TEST_F(TextFileWriteTest, TargetThatIsAFolderIsNotReplaced) {
  std::filesystem::create_directory(folder_.path() / "house.N1");
  const WriteResult result = writeTextFile(folder_.file("house.N1"), "0\n", files_);
  EXPECT_EQ(result.outcome, WriteOutcome::kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(folder_.path() / "house.N1"));
  EXPECT_EQ(folder_.entries(), std::vector<std::string>{"house.N1"});
}

TEST_F(TextFileWriteTest, ReadsTheFirstLineWithoutItsLineEnd) {
  struct Case {
    const char* label;
    std::string bytes, line;
  } cases[] = {
      {"CR LF", "first\r\nsecond\r\n", "first"}, {"LF", "first\nsecond", "first"},
      {"no line end", "1,2,3,", "1,2,3,"},       {"empty file", "", ""},
      {"empty first line", "\r\nsecond", ""},    {"carriage return inside", "a\rb\r\n", "a\rb"},
  };
  for (const Case& c : cases) {
    const std::string path = folder_.file("p.inf");
    putFileBytes(path, c.bytes);
    std::string line = "untouched";
    ASSERT_TRUE(readFirstLine(path, files_, &line).isOk()) << c.label;
    EXPECT_EQ(line, c.line) << c.label;
  }
}

TEST_F(TextFileWriteTest, ReadingFailsForAMissingFileOrAnEndlessFirstLine) {
  std::string line = "untouched";
  FileStatus missing = readFirstLine(folder_.file("none.inf"), files_, &line);
  EXPECT_FALSE(missing.isOk());
  EXPECT_NE(missing.message().find("none.inf"), std::string::npos) << missing.message();

  putFileBytes(folder_.file("long.inf"), std::string(64, '1'));
  FileStatus tooLong = readFirstLine(folder_.file("long.inf"), files_, &line, 64);
  EXPECT_FALSE(tooLong.isOk());
  EXPECT_NE(tooLong.message().find("long.inf"), std::string::npos) << tooLong.message();
  EXPECT_EQ(line, "untouched");

  ASSERT_TRUE(readFirstLine(folder_.file("long.inf"), files_, &line, 65).isOk());
  EXPECT_EQ(line.size(), 64u);
}

TEST_F(TextFileWriteTest, AReadOnlyTargetStaysAndAReplacedOneKeepsItsMode) {
  const std::string target = folder_.file("house.N1");
  struct Case {
    const char* label;
    std::filesystem::perms mode;
    bool written;
  } cases[] = {
      {"0640", std::filesystem::perms(0640), true},
      {"0444", std::filesystem::perms(0444), false},
  };
  for (const Case& c : cases) {
    putFileBytes(target, "old");
    std::filesystem::permissions(target, c.mode);
    const WriteResult result = writeTextFile(target, "new\n", files_);
    EXPECT_EQ(result.written(), c.written) << c.label;
    EXPECT_EQ(result.status.isReadOnly(), !c.written) << c.label;
    EXPECT_EQ(fileBytes(target), c.written ? "new\r\n" : "old") << c.label;
    EXPECT_EQ(std::filesystem::status(target).permissions(), c.mode) << c.label;
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"house.N1"}) << c.label;
    std::filesystem::permissions(target, std::filesystem::perms(0600));
  }
}

// What a killed writer left beside its target goes with the next write of
// that target; other files that only look alike stay.
TEST_F(TextFileWriteTest, TemporaryFilesLeftBesideTheTargetAreRemoved) {
  const std::vector<std::string> left = {"house.N1.~0123456789ab", "house.N1.~ffffffffffff"};
  const std::vector<std::string> kept = {"house.N1.~0123", "house.N1.~0123456789AB",
                                         "house.N2.~0123456789ab", "xhouse.N1.~0123456789ab"};
  for (const std::string& name : left) putFileBytes(folder_.file(name), "half");
  for (const std::string& name : kept) putFileBytes(folder_.file(name), "other");
  ASSERT_TRUE(writeTextFile(folder_.file("house.N1"), "0\n", files_).written());
  std::vector<std::string> expected = kept;
  expected.push_back("house.N1");
  std::sort(expected.begin(), expected.end());
  std::vector<std::string> entries = folder_.entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, expected);
}

}  // namespace

}  // namespace tavrin
