#include "cad/point_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

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
    const auto answer = cad::parsePointAnswer(c.text);
    const auto* point = std::get_if<AcGePoint3d>(&answer);
    ASSERT_EQ(point != nullptr, c.accepted) << c.text;
    if (point == nullptr) {
      EXPECT_NE(std::get<std::string>(answer).find("is not a point"), std::string::npos);
      continue;
    }
    EXPECT_EQ(point->x, c.x) << c.text;
    EXPECT_EQ(point->y, c.y) << c.text;
    EXPECT_EQ(point->z, c.z) << c.text;
  }
}

}  // namespace
