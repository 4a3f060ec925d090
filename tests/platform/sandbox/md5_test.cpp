#include "platform/sandbox/tools/md5.h"

#include <gtest/gtest.h>

namespace {

// Known digests, and lengths around the padding limits: 55 bytes still fit the length into the last
// block, 56 to 63 need one more (the empty text and "abc": the sandbox's md5sum).
TEST(Md5, KnownDigests) {
    const std::pair<std::string, const char*> cases[] = {
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
        {std::string(120, 'x'), "fb98667f98096de92620b64f46e1c5b5"},
    };
    for (const auto& [data, digest] : cases)
        EXPECT_EQ(plat::Md5Hex(data), digest) << data.size();
}

}  // namespace
