#include "settings_format.h"

#include <gtest/gtest.h>

namespace autorun {
namespace {

TEST(WordOffset, MatchesTheFormatsFirstFigures) {
    EXPECT_EQ(WordOffset(0), 0u);
    EXPECT_EQ(WordOffset(1), 33u);
    EXPECT_EQ(WordOffset(2), 144u);
    EXPECT_EQ(WordOffset(3), 369u);
    EXPECT_EQ(WordOffset(4), 768u);
}

}  // namespace
}  // namespace autorun
