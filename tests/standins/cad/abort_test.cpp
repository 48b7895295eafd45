#include "host/ac_rx_abort.h"

#include <gtest/gtest.h>

#include "cad/host_exit.h"

namespace {

TEST(AbortDeathTest, PrintsTheMessageAndEndsTheHostAbnormally) {
  // "模块" (module) in code page 936 arrives on standard error in UTF-8.
  EXPECT_EXIT(acrx_abort("stop %d \xC4\xA3\xBF\xE9", 7),
              ::testing::ExitedWithCode(cad::kExitAborted), "aborted by a module: stop 7 模块");
}

}  // namespace
