#include "text/code_page.h"

#include <gtest/gtest.h>

namespace {

TEST(CodePage, RoundTripsChineseText) {
  const std::string utf8 = "斜柱 钢管 axis";
  auto cp936 = text::utf8ToCp936(utf8);
  ASSERT_TRUE(cp936);
  EXPECT_EQ(*cp936, "\xD0\xB1\xD6\xF9 \xB8\xD6\xB9\xDC axis");
  EXPECT_EQ(text::cp936ToUtf8(*cp936), utf8);
}

TEST(CodePage, RefusesWhatItCannotRepresent) {
  EXPECT_FALSE(text::utf8ToCp936("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(text::utf8ToCp936("\xC3"));              // truncated UTF-8
  EXPECT_FALSE(text::cp936ToUtf8("\xC8"));              // lead byte without trail
}

TEST(CodePage, LossyConversionsReplaceAndGoOn) {
  EXPECT_EQ(text::cp936ToUtf8Lossy("a\xC8"), "a\xEF\xBF\xBD");
  EXPECT_EQ(text::utf8ToCp936Lossy("a\xF0\x9F\x98\x80"
                                   "b"),
            "a?b");
}

TEST(CodePage, EmptyAndAsciiPassUnchanged) {
  EXPECT_EQ(text::utf8ToCp936(""), "");
  EXPECT_EQ(text::cp936ToUtf8("plain text\r\n"), "plain text\r\n");
}

TEST(CodePage, LongTextCrossesTheConversionBuffer) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "轴";
  auto cp936 = text::utf8ToCp936(utf8);
  ASSERT_TRUE(cp936);
  EXPECT_EQ(cp936->size(), 10000u);
  EXPECT_EQ(text::cp936ToUtf8(*cp936), utf8);
}

}  // namespace
