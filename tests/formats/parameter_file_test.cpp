#include "formats/parameter_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>
#include <string>
#include <vector>

#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

ProjectParameters params(double ox, double oy, double rx, double ry, int unit, double scale) {
  ProjectParameters p;
  p.originX = ox;
  p.originY = oy;
  p.referenceX = rx;
  p.referenceY = ry;
  p.unitIndex = unit;
  p.scale = scale;
  return p;
}

void expectParameters(const ProjectParameters& actual, const ProjectParameters& expected,
                      const std::string& label) {
  EXPECT_EQ(actual.originX, expected.originX) << label;
  EXPECT_EQ(actual.originY, expected.originY) << label;
  EXPECT_EQ(actual.referenceX, expected.referenceX) << label;
  EXPECT_EQ(actual.referenceY, expected.referenceY) << label;
  EXPECT_EQ(actual.unitIndex, expected.unitIndex) << label;
  EXPECT_EQ(actual.scale, expected.scale) << label;
}

class ParameterFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  FaultInjectingFileSystem files_;
};

TEST_F(ParameterFileTest, WritesOneLineWithoutLineEndAndReadsItBack) {
  struct Case {
    const char* label;
    ProjectParameters written;
    const char* bytes;
    ProjectParameters read;
  } cases[] = {
      {"typical", params(-2500, -1500, 1000, 500, 3, 1),
       "-2500.000000,-1500.000000,1000.000000,500.000000,3,1.000000,",
       params(-2500, -1500, 1000, 500, 3, 1)},
      {"rounded to six decimals", params(0.1234567, 0, 0, 0, 0, 100),
       "0.123457,0.000000,0.000000,0.000000,0,100.000000,", params(0.123457, 0, 0, 0, 0, 100)},
  };
  for (const Case& c : cases) {
    const std::string path = folder_.file("house.inf");
    ASSERT_TRUE(writeParameterFile(path, c.written, files_).written()) << c.label;
    EXPECT_EQ(fileBytes(path), c.bytes) << c.label;
    ProjectParameters read = params(9, 9, 9, 9, 9, 9);
    ASSERT_TRUE(readParameterFile(path, files_, &read).isOk()) << c.label;
    expectParameters(read, c.read, c.label);
  }
}

TEST(ParameterLine, IsReadTolerantly) {
  struct Case {
    const char* label;
    const char* line;
    ProjectParameters expected;
  } cases[] = {
      {"no comma after the sixth value", "1,2,3,4,3,2.5", params(1, 2, 3, 4, 3, 0)},
      {"two values, one comma", "1,2", params(1, 0, 0, 0, 0, 0)},
      {"empty", "", params(0, 0, 0, 0, 0, 0)},
      {"spaces around the line and the values", "  1.5 , 2,3 ,  4, 2 ,10 ,  ",
       params(1.5, 2, 3, 4, 2, 10)},
      {"tabs and a carriage return at the end", "\t1.5,2,3,4,2,10,\r", params(1.5, 2, 3, 4, 2, 10)},
      {"unit index with six decimals", "0,0,0,0,3.000000,1,", params(0, 0, 0, 0, 3, 1)},
      {"letters instead of numbers", "a,b,c,d,e,f,", params(0, 0, 0, 0, 0, 0)},
      {"extra fields ignored", "1,2,3,4,1,5,6,7,", params(1, 2, 3, 4, 1, 5)},
      {"empty fields", ",,,,,,", params(0, 0, 0, 0, 0, 0)},
      {"exponents", "1e3,-2.5E-1,0,0,0,1,", params(1000, -0.25, 0, 0, 0, 1)},
      {"number then text", "12abc,3,0,0,2x,4y,", params(12, 3, 0, 0, 2, 4)},
  };
  for (const Case& c : cases) expectParameters(parseParameterLine(c.line), c.expected, c.label);
}

TEST_F(ParameterFileTest, ReadsTheFirstLineOfFilesOnDisk) {
  struct Case {
    const char* label;
    std::string bytes;
    ProjectParameters expected;
  } cases[] = {
      {"empty file", "", params(0, 0, 0, 0, 0, 0)},
      {"CR LF and spaces", "  1.5, 2 ,3,4 , 2,10,  \r\n", params(1.5, 2, 3, 4, 2, 10)},
      {"second line ignored", "1,2,3,4,1,5,\r\n9,9,9,9,9,9,\r\n", params(1, 2, 3, 4, 1, 5)},
  };
  for (const Case& c : cases) {
    const std::string path = folder_.file("p.inf");
    putFileBytes(path, c.bytes);
    ProjectParameters read = params(9, 9, 9, 9, 9, 9);
    ASSERT_TRUE(readParameterFile(path, files_, &read).isOk()) << c.label;
    expectParameters(read, c.expected, c.label);
  }
}

TEST_F(ParameterFileTest, WriteProtectedFileReadsAndMissingFileFails) {
  const std::string path = folder_.file("locked.inf");
  putFileBytes(path, "-2500.000000,-1500.000000,1000.000000,500.000000,3,1.000000,");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ProjectParameters read;
  ASSERT_TRUE(readParameterFile(path, files_, &read).isOk());
  expectParameters(read, params(-2500, -1500, 1000, 500, 3, 1), "write-protected");
  EXPECT_TRUE(files_.created.empty());

  ProjectParameters untouched = params(7, 7, 7, 7, 7, 7);
  const FileStatus missing = readParameterFile(folder_.file("none.inf"), files_, &untouched);
  EXPECT_FALSE(missing.isOk());
  EXPECT_NE(missing.message().find("none.inf"), std::string::npos) << missing.message();
  expectParameters(untouched, params(7, 7, 7, 7, 7, 7), "after a failed read");
}

TEST_F(ParameterFileTest, FailedWriteKeepsTheOldParameters) {
  const std::string old = "1.000000,2.000000,3.000000,4.000000,3,1.000000,";
  struct Case {
    const char* label;
    void (*breakIt)(FaultInjectingFileSystem&);
  } cases[] = {
      {"disk full", [](FaultInjectingFileSystem& f) { f.failAppendNumber = 1; }},
      {"failing close", [](FaultInjectingFileSystem& f) { f.failClose = true; }},
  };
  for (const Case& c : cases) {
    FaultInjectingFileSystem files;
    c.breakIt(files);
    const std::string path = folder_.file("house.inf");
    putFileBytes(path, old);
    const WriteResult result = writeParameterFile(path, params(5, 5, 5, 5, 0, 2), files);
    EXPECT_EQ(result.outcome, WriteOutcome::kWriteFailed) << c.label;
    EXPECT_EQ(fileBytes(path), old) << c.label;
    EXPECT_EQ(folder_.entries(), std::vector<std::string>{"house.inf"}) << c.label;
  }
}

// A value beyond the range of a number would reach the dialog as an infinity
// that no Save gets past: such a file counts as unreadable, and no such
// value is ever written.
TEST_F(ParameterFileTest, ValuesThatAreNotFiniteAreNeitherReadNorWritten) {
  const std::string path = folder_.file("p.inf");
  for (const char* line : {"1e382,0,0,0,3,1,", "0,-1e999,0,0,3,1,", "0,0,0,0,3,1e400,"}) {
    putFileBytes(path, line);
    ProjectParameters read;
    read.originX = 42.0;
    EXPECT_FALSE(readParameterFile(path, files_, &read).isOk()) << line;
    EXPECT_EQ(read.originX, 42.0) << line << ": left unchanged";
  }
  ProjectParameters infinite;
  infinite.referenceY = -std::numeric_limits<double>::infinity();
  putFileBytes(path, "kept");
  EXPECT_EQ(writeParameterFile(path, infinite, files_).outcome, WriteOutcome::kTooLarge);
  EXPECT_EQ(fileBytes(path), "kept");
  EXPECT_TRUE(files_.created.empty());
}

}  // namespace

}  // namespace tavrin
