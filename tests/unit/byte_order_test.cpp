#include "byte_order.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace autorun {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte has its top bit set somewhere, so a byte promoted to a signed int and shifted into the
// sign bit, or a byte order swapped, shows in the value.
TEST(ByteOrder, LoadsBothOrdersFromTheSameBytes) {
    const Bytes bytes = {0x81, 0xF2, 0xA3, 0xFE};
    EXPECT_EQ(LoadLittleU16(bytes.data()), 0xF281u);
    EXPECT_EQ(LoadLittleU32(bytes.data()), 0xFEA3F281u);
    EXPECT_EQ(LoadBigU16(bytes.data()), 0x81F2u);
    EXPECT_EQ(LoadBigU32(bytes.data()), 0x81F2A3FEu);
}

TEST(ByteOrder, StoresAndAppendsWhatLoadsReadBack) {
    Bytes bytes(6, 0x55);
    StoreLittleU32(bytes.data() + 1, 0xDEADBEEF);
    EXPECT_EQ(bytes, (Bytes{0x55, 0xEF, 0xBE, 0xAD, 0xDE, 0x55}));
    StoreLittleU16(bytes.data() + 4, 0xCAFE);
    EXPECT_EQ(bytes, (Bytes{0x55, 0xEF, 0xBE, 0xAD, 0xFE, 0xCA}));

    Bytes appended;
    AppendLittleU16(appended, 0x1234);
    AppendLittleU32(appended, 0x89ABCDEF);
    EXPECT_EQ(appended, (Bytes{0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89}));
    EXPECT_EQ(LoadLittleU32(appended.data() + 2), 0x89ABCDEFu);
}

TEST(ByteOrder, RangeCheckNeitherWrapsNorOvershoots) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    EXPECT_TRUE(HasRange(8, 4, 4));
    EXPECT_TRUE(HasRange(8, 8, 0));
    EXPECT_TRUE(HasRange(0, 0, 0));
    EXPECT_FALSE(HasRange(8, 5, 4));
    EXPECT_FALSE(HasRange(8, 9, 0));
    EXPECT_FALSE(HasRange(0, 0, 1));
    // offset + size would wrap to a small number that lies inside the buffer.
    EXPECT_FALSE(HasRange(8, kMax, 4));
    EXPECT_FALSE(HasRange(8, 4, kMax));
    EXPECT_FALSE(HasRange(8, kMax - 1, 2));
}

TEST(ByteOrder, CheckedReadsStopAtTheBuffersEnd) {
    const Bytes bytes = {0x01, 0x02, 0x03, 0x04, 0x05};
    EXPECT_EQ(ReadLittleU16(bytes, 3), 0x0504u);
    EXPECT_EQ(ReadLittleU32(bytes, 1), 0x05040302u);
    EXPECT_EQ(ReadBigU32(bytes, 1), 0x02030405u);
    EXPECT_FALSE(ReadLittleU16(bytes, 4));
    EXPECT_FALSE(ReadLittleU32(bytes, 2));
    EXPECT_FALSE(ReadBigU32(bytes, 2));
    EXPECT_FALSE(ReadLittleU32(bytes, std::numeric_limits<std::size_t>::max() - 1));
    EXPECT_FALSE(ReadLittleU16(Bytes{}, 0));
}

}  // namespace
}  // namespace autorun
