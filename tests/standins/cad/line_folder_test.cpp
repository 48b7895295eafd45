#include "line_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kUp1 = "\x1b[A\r\x1b[K";

// Feeds `chunks` in order and flushes; what the terminal receives.
std::string folded(const std::vector<std::string>& chunks) {
  cad::detail::LineFolder folder;
  std::string out;
  for (const std::string& chunk : chunks) out += folder.feed(chunk);
  return out + folder.flush();
}

std::string repeated(const std::string& group, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += group;
  return text;
}

TEST(LineFolder, FoldsRepeatedGroupsIntoACountLine) {
  const struct {
    const char* label;
    std::vector<std::string> chunks;
    std::string expected;
  } cases[] = {
      {"nothing repeats", {"a\nb\nc\n"}, "a\nb\nc\n"},
      {"one line twice", {"x\nx\n"}, "x\n\x1b[1A\r\x1b[Jx ×2\n"},
      {"a pair three times, then other text",
       {"IntrinsicScale:1\niScale:1\n", "IntrinsicScale:1\niScale:1\n",
        "IntrinsicScale:1\niScale:1\ndone\n"},
       "IntrinsicScale:1\niScale:1\n\x1b[2A\r\x1b[JIntrinsicScale:1 / iScale:1 ×2\n" + kUp1 +
           "IntrinsicScale:1 / iScale:1 ×3\ndone\n"},
      {"a repetition begun but not completed is shown after the count",
       {"a\nb\na\nb\na\nc\n"},
       "a\nb\n\x1b[2A\r\x1b[Ja / b ×2\na\nc\n"},
      {"a group that does not repeat whole is shown as it came", {"a\nb\na\nc\n"}, "a\nb\na\nc\n"},
      {"a prompt ends the run and passes at once",
       {"p\np\n", "Command: "},
       "p\n\x1b[1A\r\x1b[Jp ×2\nCommand: "},
      {"the line a prompt started is never folded", {"Command: ", "x\nx\n"}, "Command: x\nx\n"},
      {"lines may come in pieces",
       {"ab", "c\nab", "c\n"},
       "abc\nab"
       "c\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(folded(c.chunks), c.expected) << c.label;
}

TEST(LineFolder, ShowsTheFinalCountOfALongRunWithThousands) {
  const std::string out = folded({repeated("I:1\ni:1\n", 11450), "end\n"});
  EXPECT_NE(out.find("I:1 / i:1 ×11,450\nend\n"), std::string::npos);
  EXPECT_LT(out.size(), 2000u) << "the count is not redrawn for every repetition";
}

}  // namespace
