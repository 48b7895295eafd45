#include "cad/point_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PointAnswer, TakesPlainDecimalNumbersOnly) {
  struct Case {
    const char* text;
    bool accepted;
    double x = 0, y = 0, z = 0;
  } cases[] = {
      {"1,2", true, 1, 2, 0},
      {" +1.5 , -2e3 ,4", true, 1.5, -2000, 4},
      {"-0,.5", true, 0, 0.5, 0},
      // As a Chinese input method types them: full-width digits, signs,
      // points, commas and the ideographic space.
      {"０，０", true, 0, 0, 0},
      {"１２．５，－３", true, 12.5, -3, 0},
      {"\u3000１,２\u3000,３", true, 1, 2, 3},
      {"１２。５,0", false},
      // Two signs, infinities, not-a-number, hexadecimal and overflow.
      {"+-5,+-3", false},
      {"-+5,3", false},
      {"++5,3", false},
      {"inf,0", false},
      {"0,nan", false},
      {"0x10,0", false},
      {"1e400,0", false},
      {"1,", false},
      {"1", false},
      {"1,2,3,4", false},
  };
  for (const Case& c : cases) {
    const auto point = cad::parsePointAnswer(c.text);
    ASSERT_EQ(point.isOk(), c.accepted) << c.text;
    if (!point.isOk()) {
      EXPECT_NE(point.message().find("is not a point"), std::string::npos);
      continue;
    }
    EXPECT_EQ(point->x, c.x) << c.text;
    EXPECT_EQ(point->y, c.y) << c.text;
    EXPECT_EQ(point->z, c.z) << c.text;
  }
}

}  // namespace
