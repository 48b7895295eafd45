#include "text/trim.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(Trim, DropsBlanksAtEitherEndOnly) {
  struct Case {
    std::string_view text, trimmed, trimmedWithCr;
  } cases[] = {
      {"", "", ""},
      {" \t ", "", ""},
      {"word", "word", "word"},
      {" \tfirst second\t ", "first second", "first second"},
      {"a\nb\n", "a\nb\n", "a\nb\n"},  // a line feed is text
      {"LINE\r", "LINE\r", "LINE"},
      {" 10 \r\t\r", "10 \r\t\r", "10"},
      {"\rx", "\rx", "\rx"},  // only trailing carriage returns go
      {"a\rb", "a\rb", "a\rb"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::trimBlanks(c.text), c.trimmed) << '"' << c.text << '"';
    EXPECT_EQ(text::trimBlanksAndTrailingCr(c.text), c.trimmedWithCr) << '"' << c.text << '"';
  }
}

}  // namespace
