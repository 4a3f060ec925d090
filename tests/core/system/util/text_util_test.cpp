#include "core/system/util/text_util.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(TextUtil, AddressTextHasNoLeadingZeros) {
    const uint8_t ip[4] = {172, 16, 28, 120}, ends[4] = {0, 7, 10, 255};
    char buf[16];
    EXPECT_STREQ(IpToString(buf, ip), "172.16.28.120");
    EXPECT_STREQ(IpToString(buf, ends), "0.7.10.255");
    EXPECT_EQ(IpToString(nullptr, ip), nullptr);
    EXPECT_EQ(IpToString(buf, nullptr), nullptr);
    EXPECT_EQ(ByteToDecimal(nullptr, 5), nullptr);
    EXPECT_EQ(StrLength(nullptr), 0u);
}

