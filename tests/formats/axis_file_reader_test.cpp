#include "formats/axis_file_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "formats/axis_file_records.h"
#include "formats/text_file.h"
#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

using Kind = AxisFileSegment::Kind;

// The file text the writer writes for `segments`: reading and writing again
// must give the same bytes.
std::string recompose(const std::vector<AxisFileSegment>& segments) {
  std::string text;
  appendAxisFileHeader(text, static_cast<std::int64_t>(segments.size()));
  for (const AxisFileSegment& s : segments) {
    if (s.kind == Kind::kStraight)
      appendStraightRecord(text, s.x2, s.y2, s.x1, s.y1);
    else
      appendArcRecord(text, s.centreX, s.centreY, s.radius, s.startDegrees, s.endDegrees);
  }
  return toDiskText(text);
}

std::string examplesDir() {
  const char* data = std::getenv("TAVRIN_TEST_DATA");
  return std::string(data != nullptr ? data : "tests/data") + "/../../examples";
}

class AxisFileReaderTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  FaultInjectingFileSystem files_;
};

TEST_F(AxisFileReaderTest, ReadsBackTheExamplesByteForByte) {
  for (const char* name : {"house/expected/house.N1", "plan/expected/plan.N2"}) {
    const std::string path = examplesDir() + "/" + name;
    std::vector<AxisFileSegment> segments;
    const FileStatus status = readAxisFile(path, files_, &segments);
    ASSERT_TRUE(status.isOk()) << status.message();
    EXPECT_FALSE(segments.empty()) << name;
    EXPECT_EQ(recompose(segments), fileBytes(path)) << name;
  }
}

TEST(AxisFileReader, MalformedFilesNameTheLineAndTheReason) {
  const std::string head = "0\r\nGraph Link\r\n";
  const std::string line = "9,0\r\n 1.000000,2.000000,3.000000,4.000000,0,0\r\n";
  const std::string arc = "14,0\r\n 0.000000,0.000000,5.000000,0.000000,90.000002,0,0\r\n";
  struct Case {
    const char* what;
    std::string text;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", "", 1, "the file is empty"},
      {"first line", "1\r\nGraph Link\r\n0\r\n", 1, "expected \"0\", found \"1\""},
      {"second line", "0\r\nGraph link\r\n0\r\n", 2, "expected \"Graph Link\""},
      {"count not a number", head + "three\r\n", 3, "expected the number of segments"},
      {"negative count", head + "-1\r\n", 3, "expected the number of segments"},
      {"count too large", head + "1234567890\r\n", 3, "expected the number of segments"},
      {"unknown kind", head + "1\r\n10,0\r\n 1,2,3,4,0,0\r\n", 4, "expected a record kind"},
      {"too few segments", head + "2\r\n" + line, 6, "the file ends after 1 of 2 segments"},
      {"kind without values", head + "1\r\n9,0\r\n", 5, "the file ends inside segment 1"},
      {"too many segments", head + "1\r\n" + line + line, 6, "more text after the 1 segments"},
      {"trailing empty line", head + "1\r\n" + line + "\r\n", 6, "more text after"},
      {"no leading space", head + "1\r\n9,0\r\n1.0,2.0,3.0,4.0,0,0\r\n", 5, "expected a space"},
      {"straight with five values", head + "1\r\n9,0\r\n 1.0,2.0,3.0,0,0\r\n", 5,
       "expected 6 values \" X2,Y2,X1,Y1,0,0\", found 5"},
      {"arc with six values", head + "1\r\n14,0\r\n 0.0,0.0,5.0,0.0,0,0\r\n", 5,
       "expected 7 values \" CX,CY,R,A1,A2,0,0\", found 6"},
      {"letter in a value", head + "1\r\n9,0\r\n 1.0,2.0,x,4.0,0,0\r\n", 5,
       "value 3 is not a number: \"x\""},
      {"exponent", head + "1\r\n9,0\r\n 1e3,2.0,3.0,4.0,0,0\r\n", 5, "value 1 is not a number"},
      {"plus sign", head + "1\r\n9,0\r\n 1.0,+2.0,3.0,4.0,0,0\r\n", 5, "value 2 is not a number"},
      {"space inside", head + "1\r\n9,0\r\n 1.0, 2.0,3.0,4.0,0,0\r\n", 5, "value 2 is not"},
      {"empty value", head + "1\r\n9,0\r\n 1.0,,3.0,4.0,0,0\r\n", 5, "value 2 is not a number"},
      {"point without digits", head + "1\r\n9,0\r\n 1.,2.0,3.0,4.0,0,0\r\n", 5, "value 1 is"},
      {"trailing values not zero", head + "1\r\n9,0\r\n 1.0,2.0,3.0,4.0,0,1\r\n", 5,
       "the last two values must be 0,0"},
      {"negative radius", head + "1\r\n14,0\r\n 0.0,0.0,-5.0,0.0,90.0,0,0\r\n", 5,
       "the arc's radius is negative"},
      {"cut short", head + "1\r\n9,0\r\n 1.000000,2.0", 5, "no line end: the file was cut short"},
      {"byte not ASCII", head + "1\r\n9,0\r\n 1.0,2.0,3.0,4.0\xA3,0,0\r\n", 5,
       "not printable ASCII"},
      {"stray CR", "0\r\nGraph\rLink\r\n0\r\n", 2, "not printable ASCII in \"Graph\\x0DLink\""},
      {"one record of a good file broken", head + "3\r\n" + line + arc + "9,0\r\n 1,2,3\r\n", 9,
       "expected 6 values"},
  };
  for (const Case& c : cases) {
    std::vector<AxisFileSegment> segments{AxisFileSegment{}};
    AxisFileError error;
    EXPECT_FALSE(parseAxisFile(c.text, &segments, &error)) << c.what;
    EXPECT_TRUE(segments.empty()) << c.what;
    EXPECT_EQ(error.line, c.line) << c.what << ": " << error.reason;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
  }
}

TEST(AxisFileReader, AcceptsWhatTheWriterWritesAndLineFeedsAlone) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<AxisFileSegment> expected;
  };
  const Case cases[] = {
      {"no segments", "0\r\nGraph Link\r\n0\r\n", {}},
      {"line feeds alone",
       "0\nGraph Link\n1\n9,0\n -1.5,2,3.25,-0.000000,0,0\n",
       {AxisFileSegment{Kind::kStraight, 3.25, -0.0, -1.5, 2.0}}},
      {"arc through direction 0",
       "0\r\nGraph Link\r\n1\r\n14,0\r\n 1.000000,2.000000,3.000000,355.000000,5.000000,0,0\r\n",
       {AxisFileSegment{Kind::kArc, 0, 0, 0, 0, 1.0, 2.0, 3.0, 355.0, 5.0}}},
  };
  for (const Case& c : cases) {
    std::vector<AxisFileSegment> segments;
    AxisFileError error;
    EXPECT_TRUE(parseAxisFile(c.text, &segments, &error)) << c.what << ": " << error.reason;
    EXPECT_EQ(segments, c.expected) << c.what;
  }
}

TEST_F(AxisFileReaderTest, FileErrorsNameTheFile) {
  std::vector<AxisFileSegment> segments;
  const FileStatus missing = readAxisFile(folder_.file("none.N1"), files_, &segments);
  EXPECT_FALSE(missing.isOk());
  EXPECT_NE(missing.message().find("none.N1"), std::string::npos) << missing.message();

  putFileBytes(folder_.file("bad.N2"), "0\r\nGraph Link\r\n1\r\n9,0\r\n oops\r\n");
  const FileStatus bad = readAxisFile(folder_.file("bad.N2"), files_, &segments);
  EXPECT_FALSE(bad.isOk());
  EXPECT_NE(bad.message().find(folder_.file("bad.N2") + " line 5: expected 6 values"),
            std::string::npos)
      << bad.message();
}

}  // namespace

}  // namespace tavrin
