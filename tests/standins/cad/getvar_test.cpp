#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "cad/database.h"
#include "fresh_host.h"
#include "host/ads.h"

namespace {

class AdsGetvar : public FreshHost {};

TEST_F(AdsGetvar, AnswersTheDrawingsDeclaredUnitAsAShort) {
  struct Case {
    std::optional<int> declared;
    short answered;
  } cases[] = {{6, 6}, {4, 4}, {14, 14}, {1, 1}, {std::nullopt, 0}, {70000, 0}};
  for (const Case& c : cases) {
    cad::currentDatabase().setDeclaredUnits(c.declared);
    resbuf value{};
    value.rbnext = &value;  // must be cleared
    ASSERT_EQ(ads_getvar("insUnits", &value), RTNORM);
    EXPECT_EQ(value.restype, RTSHORT);
    EXPECT_EQ(value.resval.rint, c.answered) << c.declared.value_or(-1);
    EXPECT_EQ(value.rbnext, nullptr);
  }
}

TEST_F(AdsGetvar, AnUnknownVariableIsAnErrorAndLeavesTheResultAlone) {
  resbuf value{};
  value.restype = 1;
  EXPECT_EQ(ads_getvar("NOSUCHVAR", &value), RTERROR);
  EXPECT_EQ(ads_getvar(nullptr, &value), RTERROR);
  EXPECT_EQ(value.restype, 1);
}

}  // namespace
