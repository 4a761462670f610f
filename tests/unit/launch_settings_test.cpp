#include "launch_settings.h"

#include <gtest/gtest.h>

namespace autorun {
namespace {

TEST(GameExeName, StartsAtTheDefault) { EXPECT_EQ(GameExeName, "lmq.bin"); }

}  // namespace
}  // namespace autorun
