#include "platform/md5.h"

#include <gtest/gtest.h>

namespace {

TEST(Md5, KnownDigests) {
    struct Case {
        std::string data;
        const char* digest;
    };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::Md5Hex(c.data), c.digest) << c.data.size();
}

TEST(Md5, LengthsAroundThePaddingLimits) {
    // 55 bytes still fit the length into the last block, 56 to 63 need one more.
    struct Case {
        size_t length;
        const char* digest;
    };
    const Case cases[] = {
        {55, "04364420e25c512fd958a70738aa8f72"},  {56, "668a72d5ba17f08e62dabcafad6db14b"},
        {57, "693037871c4a9d3d8685018905cb530a"},  {63, "7dc2ca208106a2f703567bdff99d8981"},
        {64, "c1bb4f81d892b2d57947682aeb252456"},  {65, "1bc932052302d074bdec39795fe00cf6"},
        {119, "ab347a5f68c8a443cfcddc633f12c24f"}, {120, "fb98667f98096de92620b64f46e1c5b5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::Md5Hex(std::string(c.length, 'x')), c.digest) << c.length;
}

}  // namespace
