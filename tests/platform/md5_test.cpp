#include "platform/md5.h"

#include <gtest/gtest.h>

namespace {

// Known digests, and lengths around the padding limits: 55 bytes still fit the length into the last
// block, 56 to 63 need one more.
TEST(Md5, KnownDigests) {
    const struct {
        std::string data;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
        {std::string(120, 'x'), "fb98667f98096de92620b64f46e1c5b5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::Md5Hex(c.data), c.digest) << c.data.size();
}

}  // namespace
