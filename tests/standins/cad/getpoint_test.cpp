#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cad/terminal_input.h"
#include "fresh_host.h"
#include "host/ads.h"

namespace {

class GetPointTest : public FreshHost {};

// "请指定点:" (specify a point) in code page 936, as a module passes it.
constexpr const char* kPrompt = "\n\xC7\xEB\xD6\xB8\xB6\xA8\xB5\xE3:";

TEST_F(GetPointTest, AnswersAndResultCodes) {
  const struct {
    const char* label;
    const char* script;
    int result;
    double x, y, z;  // when RTNORM
    bool scriptFailed;
  } cases[] = {
      {"x,y", "1,2\n", RTNORM, 1, 2, 0, false},
      {"x,y,z with blanks and exponents", " 1.5 , -2e3 ,+4 \n", RTNORM, 1.5, -2000, 4, false},
      {"integers and negative zero", "-0,10000\n", RTNORM, 0, 10000, 0, false},
      {"full-width commas",
       "1\xEF\xBC\x8C"
       "2\xEF\xBC\x8C"
       "3\n",
       RTNORM, 1, 2, 3, false},
      {"empty line", "\n", RTNONE, 0, 0, 0, false},
      {"blank line", "   \n", RTNONE, 0, 0, 0, false},
      {"cancel", "*cancel*\n", RTCAN, 0, 0, 0, false},
      {"end of script", "", RTCAN, 0, 0, 0, false},
      {"comments only, then end", ";base point\n", RTCAN, 0, 0, 0, false},
      {"one number", "5\n1,2\n", RTCAN, 0, 0, 0, true},
      {"four numbers", "1,2,3,4\n", RTCAN, 0, 0, 0, true},
      {"missing number", "1,\n", RTCAN, 0, 0, 0, true},
      {"words", "abc\n", RTCAN, 0, 0, 0, true},
      {"trailing garbage", "1,2x\n", RTCAN, 0, 0, 0, true},
      {"not a number", "nan,1\n", RTCAN, 0, 0, 0, true},
      {"infinity", "inf,1\n", RTCAN, 0, 0, 0, true},
      {"out of range", "1e999,1\n", RTCAN, 0, 0, 0, true},
      {"hexadecimal", "0x10,1\n", RTCAN, 0, 0, 0, true},
      {"space inside a number", "1 2,3\n", RTCAN, 0, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    cad::resetHost();
    useScript(c.script);
    ads_point point = {-7, -7, -7};
    EXPECT_EQ(ads_getpoint(nullptr, kPrompt, point), c.result);
    if (c.result == RTNORM) {
      EXPECT_DOUBLE_EQ(point[X], c.x);
      EXPECT_DOUBLE_EQ(point[Y], c.y);
      EXPECT_DOUBLE_EQ(point[Z], c.z);
    } else {
      EXPECT_EQ(point[X], -7);  // untouched
      EXPECT_EQ(point[Y], -7);
      EXPECT_EQ(point[Z], -7);
    }
    EXPECT_EQ(cad::input().failed(), c.scriptFailed);
    if (c.scriptFailed) {
      EXPECT_NE(transcript().find("test.scr:1: \""), std::string::npos) << transcript();
    }
  }
}

TEST_F(GetPointTest, PromptIsShownInUtf8BeforeTheEchoedAnswer) {
  useScript("10,20\n");
  ads_point point;
  ASSERT_EQ(ads_getpoint(nullptr, kPrompt, point), RTNORM);
  EXPECT_EQ(transcript(), "\n请指定点:10,20\n");
}

TEST_F(GetPointTest, ConsecutiveAsksTakeConsecutiveLines) {
  useScript("1,1\n\n2,2\n");
  ads_point point;
  EXPECT_EQ(ads_getpoint(nullptr, nullptr, point), RTNORM);
  EXPECT_EQ(point[X], 1);
  EXPECT_EQ(ads_getpoint(point, nullptr, point), RTNONE);
  EXPECT_EQ(ads_getpoint(nullptr, nullptr, point), RTNORM);
  EXPECT_EQ(point[X], 2);
  EXPECT_EQ(ads_getpoint(nullptr, nullptr, point), RTCAN);
}

TEST_F(GetPointTest, MalformedAnswerNamesTheProblem) {
  useScript("; base point\n3,x\n");
  ads_point point;
  EXPECT_EQ(ads_getpoint(nullptr, kPrompt, point), RTCAN);
  EXPECT_NE(transcript().find("test.scr:2: \"3,x\" is not a point: \"x\" is not a number"),
            std::string::npos)
      << transcript();
}

TEST_F(GetPointTest, TerminalIsAskedAgainAfterAMalformedAnswer) {
  // A Chinese input method types the full-width comma.
  std::istringstream typed(
      "oops\n3\xEF\xBC\x8C"
      "4\n");
  cad::setInput(std::make_unique<cad::TerminalInput>(typed));
  ads_point point;
  EXPECT_EQ(ads_getpoint(nullptr, kPrompt, point), RTNORM);
  EXPECT_EQ(point[X], 3);
  EXPECT_EQ(point[Y], 4);
  const std::string hint = "[x,y; ?: help; Enter or Esc: cancel] ";
  EXPECT_EQ(transcript(), "\n请指定点:" + hint +
                              "oops\n\"oops\" is not a point: expected x,y or x,y,z\n" +
                              "\n请指定点:" + hint + "3，4\n");
}

TEST_F(GetPointTest, NullResultIsAnErrorAndReadsNothing) {
  useScript("1,2\n");
  EXPECT_EQ(ads_getpoint(nullptr, kPrompt, nullptr), RTERROR);
  ads_point point;
  EXPECT_EQ(ads_getpoint(nullptr, nullptr, point), RTNORM);
}

}  // namespace
