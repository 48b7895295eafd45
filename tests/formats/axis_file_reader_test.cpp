#include "formats/axis_file_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
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
       "value 3 (X1) is not a number: \"x\""},
      {"exponent", head + "1\r\n9,0\r\n 1e3,2.0,3.0,4.0,0,0\r\n", 5,
       "value 1 (X2) is not a number"},
      {"plus sign", head + "1\r\n9,0\r\n 1.0,+2.0,3.0,4.0,0,0\r\n", 5,
       "value 2 (Y2) is not a number"},
      {"space inside", head + "1\r\n9,0\r\n 1.0, 2.0,3.0,4.0,0,0\r\n", 5, "value 2 (Y2) is not"},
      {"empty value", head + "1\r\n9,0\r\n 1.0,,3.0,4.0,0,0\r\n", 5,
       "value 2 (Y2) is not a number"},
      {"point without digits", head + "1\r\n9,0\r\n 1.,2.0,3.0,4.0,0,0\r\n", 5, "value 1 (X2) is"},
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

// What the export never writes is refused, naming the value: it is where a
// corrupt or made-up file would make a tool hang or overflow.
TEST(AxisFileReader, RefusesValuesBeyondTheWritersLimits) {
  const std::string head = "0\r\nGraph Link\r\n1\r\n";
  const std::string digits308 = "1" + std::string(308, '0') + ".000000";
  struct Case {
    const char* what;
    std::string record;
    std::string reason;
  };
  const Case cases[] = {
      {"a coordinate above 1000 m", "9,0\r\n 1000.000001,0.0,0.0,0.0,0,0",
       "value 1 (X2) \"1000.000001\" is above 1000: the export writes no coordinate or radius "
       "above 1000 m"},
      {"1e308 in plain digits", "9,0\r\n 0.0,0.0,-" + digits308 + "," + digits308 + ",0,0",
       "value 4 (Y1) \"" + std::string(60, '0').replace(0, 1, "1") + "...\" is above 1000"},
      {"a centre above 1000 m", "14,0\r\n 0.0,1500.0,5.0,0.0,90.0,0,0", "value 2 (CY) \"1500.0\""},
      {"a radius above 1000 m", "14,0\r\n 0.0,0.0,1000.5,0.0,90.0,0,0", "value 3 (R) \"1000.5\""},
      {"a negative radius", "14,0\r\n 0.0,0.0,-5.0,0.0,90.0,0,0",
       "value 3 (R) \"-5.0\": the arc's radius is negative"},
      {"an angle of 1e10 degrees", "14,0\r\n 0.0,0.0,5.0,10000000000.000000,90.0,0,0",
       "value 4 (A1) \"10000000000.000000\" is not an angle the export writes (0 to 360.000006 "
       "degrees)"},
      {"an angle just past a turn", "14,0\r\n 0.0,0.0,5.0,0.0,360.000007,0,0",
       "value 5 (A2) \"360.000007\" is not an angle"},
      {"a negative angle", "14,0\r\n 0.0,0.0,5.0,-0.000001,90.0,0,0",
       "value 4 (A1) \"-0.000001\" is not an angle"},
      {"a number beyond a double", "9,0\r\n -1" + std::string(400, '0') + ",0.0,0.0,0.0,0,0",
       "value 1 (X2) is not a number"},
  };
  for (const Case& c : cases) {
    std::vector<AxisFileSegment> segments;
    AxisFileError error;
    EXPECT_FALSE(parseAxisFile(head + c.record + "\r\n", &segments, &error)) << c.what;
    EXPECT_EQ(error.line, 5) << c.what;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
  }
}

TEST(AxisFileReader, TakesEverythingTheWriterCanWrite) {
  // The writer refuses only coordinates above 1000 m: far below the origin
  // is written as it is. Angles come from directions below a full turn.
  const double largestAngle = std::nextafter(2 * 3.141592653589793, 0.0) * kDegreesPerRadian;
  std::string text;
  appendAxisFileHeader(text, 4);
  appendStraightRecord(text, 1000.0, 1000.0, -1e300, -1.7976931348623157e308);
  appendArcRecord(text, 1000.0, -5.0, 1000.0, 0.0, largestAngle);
  appendArcRecord(text, 0.0, 0.0, 0.0, -0.0, 360.000006);
  appendStraightRecord(text, -0.0, 0.0, 0.0, 0.0);
  EXPECT_NE(text.find(",360.000006,"), std::string::npos) << text.substr(0, 400);
  std::vector<AxisFileSegment> segments;
  AxisFileError error;
  ASSERT_TRUE(parseAxisFile(toDiskText(text), &segments, &error))
      << error.line << ": " << error.reason;
  ASSERT_EQ(segments.size(), 4u);
  EXPECT_EQ(segments[0].y1, -1.7976931348623157e308);
  EXPECT_DOUBLE_EQ(segments[1].endDegrees, 360.000006);
}

// A long line is refused before it is held: a file of one endless line
// costs no more memory than a short one.
TEST(AxisFileReader, ALineLongerThanTheWritersLongestIsRefused) {
  const std::string text = "0\r\nGraph Link\r\n1\r\n9,0\r\n " + std::string(5000, '1');
  std::vector<AxisFileSegment> segments;
  AxisFileError error;
  EXPECT_FALSE(parseAxisFile(text, &segments, &error));
  EXPECT_EQ(error.line, 5);
  EXPECT_EQ(error.reason, "the line is longer than 2048 bytes, longer than any the export writes");
}

// The text may arrive in pieces of any size: the segments and the faults
// are those of the whole text.
TEST(AxisFileParser, PiecesOfAnySizeReadAsTheWholeText) {
  const std::string good = toDiskText(
      "0\nGraph Link\n3\n9,0\n 1.000000,2.000000,3.000000,4.000000,0,0\n14,0\n "
      "0.000000,0.000000,5.000000,355.000000,5.000000,0,0\n9,0\n -7.5,0.25,3,4,0,0\n");
  const std::string texts[] = {good, good.substr(0, good.size() - 9), good + "x",
                               good.substr(0, 40) + "\x01" + good.substr(41)};
  for (const std::string& text : texts) {
    std::vector<AxisFileSegment> whole;
    AxisFileError wholeError;
    const bool wholeOk = parseAxisFile(text, &whole, &wholeError);
    for (std::size_t size = 1; size <= 17; ++size) {
      std::vector<AxisFileSegment> pieces;
      AxisFileParser parser([&](const AxisFileSegment& s) { pieces.push_back(s); });
      bool ok = true;
      for (std::size_t at = 0; at < text.size() && ok; at += size)
        ok = parser.add(std::string_view(text).substr(at, size));
      ok = ok && parser.finish();
      ASSERT_EQ(ok, wholeOk) << size;
      if (ok) {
        EXPECT_EQ(pieces, whole) << size;
      } else {
        EXPECT_EQ(parser.error().line, wholeError.line) << size;
        EXPECT_EQ(parser.error().reason, wholeError.reason) << size;
      }
    }
  }
}

// A file system whose one file is an axis file of `records` straight
// segments, made as it is read: a file larger than the memory the test
// should take.
class GeneratedAxisFile : public FaultInjectingFileSystem {
 public:
  explicit GeneratedAxisFile(std::size_t records) : records_(records) {}
  std::size_t bytes = 0;

  FileStatus openReadableFile(const std::string&, std::unique_ptr<ReadableFile>* file) override {
    class Reader : public ReadableFile {
     public:
      Reader(GeneratedAxisFile& owner) : owner_(owner) {}
      FileStatus read(std::size_t limit, std::string* piece) override {
        piece->clear();
        if (!started_) {
          std::string head;
          appendAxisFileHeader(head, static_cast<std::int64_t>(owner_.records_));
          *piece = toDiskText(head);
          started_ = true;
        }
        std::string record;
        while (piece->size() + 128 < limit && next_ < owner_.records_) {
          record.clear();
          const double at = static_cast<double>(next_ % 1000);
          appendStraightRecord(record, at, -500.0 - at, at + 0.5, -500.0);
          *piece += toDiskText(record);
          ++next_;
        }
        owner_.bytes += piece->size();
        return FileStatus::ok();
      }

     private:
      GeneratedAxisFile& owner_;
      std::size_t next_ = 0;
      bool started_ = false;
    };
    *file = std::make_unique<Reader>(*this);
    return FileStatus::ok();
  }

 private:
  std::size_t records_;
};

// Files above 256 MB were refused once, though the export writes them.
TEST(AxisFileReader, ReadsFilesOfAnySizeAPieceAtATime) {
  GeneratedAxisFile files(5'000'000);
  std::size_t read = 0;
  const FileStatus status =
      readAxisFile("large.N1", files, [&](const AxisFileSegment&) { ++read; });
  ASSERT_TRUE(status.isOk()) << status.message();
  EXPECT_EQ(read, 5'000'000u);
  EXPECT_GT(files.bytes, std::size_t{256} << 20);
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
