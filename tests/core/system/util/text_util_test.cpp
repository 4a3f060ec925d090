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

TEST(TextUtil, IsAllDigitsLooksAtTheFirstNCharacters) {
    const std::tuple<const char*, int, int> cases[] = {
        // {text, n, result}
        {"12a", 2, 0}, {"12a", 3, -1}, {"0123456789", 10, 0},
        {"12", 0, -1}, {"12", -1, -1}, {"1", 5, -1},  // the terminating zero is not a digit
        {"/:", 1, -1}, {":", 1, -1},   {nullptr, 1, -1},
    };
    for (const auto& [text, n, result] : cases)
        EXPECT_EQ(IsAllDigits(text, n), result) << (text ? text : "null") << n;
}

TEST(TextUtil, ParseRadixNumber) {
    const std::tuple<const char*, int, uint32_t> cases[] = {
        // {text, result, value}
        {"H1F", kRadixOk, 31},
        {"HaBcD", kRadixOk, 0xABCD},
        {"HFFFFFFFF", kRadixOk, 4294967295u},
        {"H00000000FFFFFFFF", kRadixOk, 4294967295u},  // leading zeros never overflow
        {"H100000000", kRadixOverflow, 0},
        {"H1FFFFFFFF", kRadixOverflow, 0},  // 0x1FFFFFFF x 16 wraps to a small number without the check
        {"B101", kRadixOk, 5},
        {"b11111111111111111111111111111111", kRadixOk, 4294967295u},
        {"B111111111111111111111111111111111", kRadixOverflow, 0},
        {"B102", kRadixBadDigit, 0},
        {"Q17", kRadixOk, 15},
        {"q37777777777", kRadixOk, 4294967295u},
        {"Q40000000000", kRadixOverflow, 0},
        {"Q8", kRadixBadDigit, 0},
        {"H1G", kRadixBadDigit, 0},
        {"H", kRadixBadDigit, 0},
        {"", kRadixEmpty, 0},
        {"X12", kRadixNoLetter, 0},
    };
    for (const auto& [text, result, value] : cases) {
        uint32_t v = 0xDEADBEEF;
        EXPECT_EQ(ParseRadixNumber(text, &v), result) << text;
        EXPECT_EQ(v, result == kRadixOk ? value : 0xDEADBEEF) << text;
    }
    uint32_t v = 7;
    EXPECT_EQ(ParseRadixNumber(nullptr, &v), kRadixEmpty);
    EXPECT_EQ(v, 7u);
}
