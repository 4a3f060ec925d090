// Number and text preparation of the value fields.
#include "panel/draw/value_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/system/state/edit_state.h"

namespace {

std::string Scaled(int mode, int32_t value, int decimals, float scale, const char* unit = nullptr) {
    char out[64];
    EXPECT_EQ(FormatScaledValue(mode, value, out, sizeof out, decimals, scale, unit), 0);
    return out;
}

TEST(FormatScaledValue, KeepsAtMostFiveSignificantDigits) {
    EXPECT_EQ(Scaled(0, 1234567, 3, 0.001f), "1234.5") << "two decimals fewer from 1000000";
    EXPECT_EQ(Scaled(0, -1234567, 3, 0.001f), "-1234.5");
    EXPECT_EQ(Scaled(0, 123456, 3, 0.001f), "123.45") << "one decimal fewer from 100000";
    EXPECT_EQ(Scaled(0, 99999, 3, 0.001f), "99.999");
    EXPECT_EQ(Scaled(0, 100009, 3, 0.001f), "100.00") << "cut to tens, not rounded";
    EXPECT_EQ(Scaled(0, 1000099, 3, 0.001f), "1000.0") << "cut to hundreds";
    // Fewer than no decimals stays none (FormatNumber would print five).
    EXPECT_EQ(Scaled(0, 1234567, 1, 1.0f), "1234500");
    EXPECT_EQ(Scaled(0, 123456, 0, 1.0f), "123450");
}

TEST(FormatScaledValue, ModesChooseThePlusSignAndTheUnit) {
    EXPECT_EQ(Scaled(1, -4, 2, 0.001f), "+0.00") << "-0.004 never shows -0.00";
    EXPECT_EQ(Scaled(1, -20, 2, 0.001f), "-0.02");
    EXPECT_EQ(Scaled(1, 1500, 2, 0.001f), "+1.50");
    EXPECT_EQ(Scaled(0, 1500, 2, 0.001f, "V"), "1.50") << "mode 0 shows no unit";
    EXPECT_EQ(Scaled(1, 1500, 2, 0.001f, "V"), "+1.50");
    EXPECT_EQ(Scaled(2, 1500, 2, 0.001f, "V"), "1.50 V");
    EXPECT_EQ(Scaled(3, 1500, 2, 0.001f, "V"), "+1.50 V");
    EXPECT_EQ(Scaled(2, 1500, 2, 0.001f, ""), "1.50 ") << "an empty unit leaves the blank";
}

TEST(FormatScaledValue, NeverWritesPastTheBuffer) {
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(FormatScaledValue(3, 1234567, out, 5, 3, 0.001f, "Hz"), 0);
    EXPECT_STREQ(out, "+123");
    EXPECT_EQ(std::string(out + 5, 3), "###");
    EXPECT_EQ(FormatScaledValue(0, 1, out, 0, 0, 1.0f, nullptr), 1);
    EXPECT_EQ(out[0], '+') << "size 0: nothing written";
    EXPECT_EQ(FormatScaledValue(0, 1, nullptr, 8, 0, 1.0f, nullptr), 1);
    EXPECT_EQ(FormatScaledValue(0, INT32_MIN, out, sizeof out, 0, 1.0f, nullptr), 0);
    EXPECT_STREQ(out, "-214748");
}

TEST(StrCopyUpper, CopiesNCharactersUpperCasedAndTerminates) {
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(StrCopyUpper(out, "ab1x-yz", 4), 4);
    EXPECT_STREQ(out, "AB1X");
    EXPECT_EQ(out[5], '#');
    std::memset(out, '#', sizeof out);
    StrCopyUpper(out, "ok", 5);
    EXPECT_STREQ(out, "OK") << "stops at the text's end";
    EXPECT_EQ(out[3], '#');
}

// The menu/control thread publishes the entry it typed; the GUI thread's pass takes it to paint.
void ShowEditWords() {
    panel::EditPublish();
    panel::EditSnapshotTake();
}

TEST(CopyEntryText, CopiesTheTypedCharactersCutToTheBuffer) {
    std::memcpy(g_EditBuf.entryText, "-12345.67", 9);  // nine characters fill it, no terminator
    g_EditBuf.entryLength = 9;
    ShowEditWords();
    char out[16];
    std::memset(out, '#', sizeof out);
    CopyEntryText(out, sizeof out);
    EXPECT_STREQ(out, "-12345.67");
    std::memset(out, '#', sizeof out);
    CopyEntryText(out, 4);
    EXPECT_STREQ(out, "-12");
    EXPECT_EQ(out[4], '#');
    g_EditBuf.entryLength = 200;  // a torn length is held to the text's size
    ShowEditWords();
    CopyEntryText(out, sizeof out);
    EXPECT_STREQ(out, "-12345.67");
    g_EditBuf.entryLength = 0;
    ShowEditWords();
    CopyEntryText(out, sizeof out);
    EXPECT_STREQ(out, "");
}

}  // namespace
