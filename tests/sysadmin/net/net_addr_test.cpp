// The address parsers against malformed texts from users, peers and the operating system.
#include "sysadmin/net/net_addr.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

namespace {

TEST(NetAddr, StrictParserTakesOnlyFourFieldsOfOneByte) {
    const std::tuple<std::string, int, std::array<uint8_t, 4>> cases[] = {
        {"0.0.0.0", 0, {0, 0, 0, 0}},
        {"192.168.10.20", 0, {192, 168, 10, 20}},
        {"001.2.3.255", 0, {1, 2, 3, 255}},
        {"1.2.3", -1, {}},
        {"1.2.3.4.5", -1, {}},
        {"1.2.3.256", -1, {}},
        {"1.2.a.4", -1, {}},
        {"1.2.3.00000000000000001", -1, {}},  // 17 digits
        {"1..3.4", -1, {}},
        {"1.2.3.4 ", -1, {}},
        {std::string(130, '1'), -1, {}},
    };
    for (const auto& [text, result, bytes] : cases) {
        std::array<uint8_t, 4> out{};
        EXPECT_EQ(ParseDottedQuad(text.c_str(), out.data()), result) << text;
        if (result == 0) {
            EXPECT_EQ(out, bytes) << text;
        }
        EXPECT_EQ(IpTextValidate(text.c_str()), result) << text;
    }
}

TEST(NetAddr, MacTextIsSixHexGroupsSeparatedByDashes) {
    const std::tuple<const char*, int> cases[] = {
        {"02-56-52-4e-10-6A", 0}, {"02:56:52:4e:10:6A", -1},  {"02-56-52-4e-10-6A0", -1},
        {"02-56-52-4e-10", -1},   {"02-56-52-4e-10-6A-", -1}, {"02-56-52-4e-1g-6A", -1},
        {"--0-0-0-0", 0},  // empty groups pass
    };
    for (const auto& [text, result] : cases)
        EXPECT_EQ(MacTextValidate(text), result) << text;
}

TEST(NetAddr, ExtractTakesTheAddressAfterLeadingText) {
    const std::tuple<const char*, size_t, const char*> cases[] = {
        {"inet addr:10.0.0.57  Bcast:10.0.0.255", 9, "10.0.0.57"},
        {"  10.0.0.1\r\n", 8, "10.0.0.1"},
        {"x10.0.0.1;", 0, ""},           // a foreign character after the address
        {"1.2.3.4.5.6.7.8.9.1", 0, ""},  // too long
        {"10.0.0", 0, ""},
        {"none", 0, ""},
    };
    for (const auto& [src, len, text] : cases) {
        char out[17] = {};
        EXPECT_EQ(IpTextExtract(src, out, 64), len) << src;
        EXPECT_STREQ(out, text) << src;
    }
    uint8_t loose[4] = {};
    ParseDottedQuadLoose("10.20.3000.4\r\n", loose);  // its own texts: at most 3 characters a field
    EXPECT_EQ(loose[2], 44);                          // 300 & 0xff
    const char* letters = "abc";
    EXPECT_EQ(FindFirstDigit(letters, 2), letters + 2);  // none within n: the position n
    EXPECT_EQ(FindFirstDigit("ab", 5), nullptr);         // the text ends first
}

}  // namespace
