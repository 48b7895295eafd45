#include "cad/typed_forms.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedForms, FullWidthAsciiBecomesAsciiAndNothingElseChanges) {
  const struct {
    const char* typed;
    const char* ascii;
  } cases[] = {
      {"０，０", "0,0"},
      {"１２．５", "12.5"},
      {"－３", "-3"},
      {"ｌａｙｅｒ　ＡＸＩＳ", "layer AXIS"},
      {"！～", "!~"},              // the first and last of the range
      {"轴线（主）", "轴线(主)"},  // full-width brackets are ASCII ones
      {"、。｟", "、。｟"},        // other punctuation and U+FF5F stay
      {"\xEF\xBC", "\xEF\xBC"},    // a cut-off character stays as it is
      {"plain 1,2", "plain 1,2"},
  };
  for (const auto& c : cases) EXPECT_EQ(cad::withAsciiForms(c.typed), c.ascii) << c.typed;
}

TEST(TypedForms, HelpAndQuitWordsInAnyCaseAndWidth) {
  const struct {
    const char* line;
    bool help, quit;
  } cases[] = {
      {"?", true, false},        {" HELP ", true, false},   {"？", true, false},
      {"ｈｅｌｐ", true, false}, {"help me", false, false}, {"Quit", false, true},
      {" exit\t", false, true},  {"ｑｕｉｔ", false, true}, {"exits", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cad::isHelpAnswer(c.line), c.help) << c.line;
    EXPECT_EQ(cad::isQuitAnswer(c.line), c.quit) << c.line;
  }
}

}  // namespace
