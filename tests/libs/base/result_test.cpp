#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/result.h"
#include "base/status.h"

namespace {

TEST(Status, FailureAlwaysCarriesAMessage) {
  EXPECT_TRUE(base::Status::ok().isOk());
  EXPECT_EQ(base::Status::ok().message(), "");
  const base::Status failed = base::Status::error("a.dxf:3: no number");
  EXPECT_FALSE(failed.isOk());
  EXPECT_EQ(failed.message(), "a.dxf:3: no number");
  // An empty message would print as nothing and read as success.
  EXPECT_FALSE(base::Status::error("").isOk());
  EXPECT_FALSE(base::Status::error("").message().empty());
}

TEST(Result, HoldsEitherAValueOrTheReasonThereIsNone) {
  base::Result<int> value = 42;
  ASSERT_TRUE(value.isOk());
  EXPECT_EQ(*value, 42);
  EXPECT_EQ(value.message(), "");

  base::Result<int> failed = base::Status::error("no such layer \"AXIS\"");
  EXPECT_FALSE(failed.isOk());
  EXPECT_EQ(failed.message(), "no such layer \"AXIS\"");
}

TEST(Result, AnOkStatusWithoutAValueIsAFailure) {
  base::Result<int> result = base::Status::ok();
  EXPECT_FALSE(result.isOk());
  EXPECT_FALSE(result.message().empty());
}

TEST(Result, MovesOutAValueThatCannotBeCopied) {
  base::Result<std::unique_ptr<std::string>> result = std::make_unique<std::string>("arx");
  ASSERT_TRUE(result.isOk());
  std::unique_ptr<std::string> taken = std::move(result).value();
  ASSERT_NE(taken, nullptr);
  EXPECT_EQ(*taken, "arx");
}

}  // namespace
