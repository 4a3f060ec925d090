// The keypad's typing into the shared entry: digits, point, sign, the nine-character text, the keystroke
// count, the entered integer, and the classes that end or pass an entry.
#include <gtest/gtest.h>

#include <string>

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "screens/output/keys/keypad_input.h"
#include "tests/screens/screen_keys.h"

namespace {

constexpr uint32_t kDisabled = 1u << 0, kPointTyped = 1u << 1;

void Key(uint8_t code, uint8_t cls = kClassKeypad) {
    uint32_t ev = KeyEventPack(0, code, cls);
    menuKeypadInput(&ev);
}

// The keys of a text straight to the keypad input.
void Type(const std::string& keys) {
    screenkeys::Type(keys, [](uint8_t code) { Key(code); });
}

std::string Text() {
    return std::string(g_EditBuf.entryText, g_EditBuf.entryLength);
}

uint32_t Keystrokes() {
    return g_EditBuf.entryState >> 10;
}

class Keypad : public ::testing::Test {
  protected:
    void SetUp() override {
        menuResetEdit();
        g_ParamFlags.fetch_and(~core::kFlagShiftLatched);
    }
};

struct Typing {
    const char* keys;
    const char* text;
    double value;
    float scale;
    uint32_t keystrokes;
    int32_t entered;  // after the enter key
};

TEST_F(Keypad, TypedTextItsValueScaleKeystrokesAndEnteredInteger) {
    const Typing cases[] = {
        {"120", "120", 120.0, 1.0f, 3, 120},
        {"12.5", "12.5", 12.5, 10.0f, 4, 125},
        {"1.25.", "1.25", 1.25, 100.0f, 4, 125},  // a second point is ignored
        {".5", "0.5", 0.5, 10.0f, 2, 5},          // a point first brings its leading 0
        {"-", "-", 0.0, 1.0f, 1, 0},
        {"0.5-", "-0.5", -0.5, 10.0f, 4, -5},
        {"5--", "+5", 5.0, 1.0f, 3, 5},           // a leading sign is swapped in place
        {"5---", "-5", -5.0, 1.0f, 4, -5},
        {"1234567890", "123456789", 123456789.0, 1.0f, 9, 123456792},  // nine characters; entered in f32
        {"123456789-", "123456789", 123456789.0, 1.0f, 9, 123456792},  // no room for the sign
        {"12345678.9", "12345678.", 12345678.0, 1.0f, 9, 12345678},   // the point is noted, no room for 9
        {"123456789.", "123456789", 123456789.0, 1.0f, 10, 123456792},  // noted without its character
        {"-12345678-", "+12345678", 12345678.0, 1.0f, 10, 12345678},
    };
    for (const Typing& c : cases) {
        menuResetEdit();
        Type(c.keys);
        EXPECT_EQ(Text(), c.text) << c.keys;
        EXPECT_DOUBLE_EQ(g_EditBuf.entryValue, c.value) << c.keys;
        EXPECT_EQ(g_EditBuf.entryScale, c.scale) << c.keys;
        EXPECT_EQ(Keystrokes(), c.keystrokes) << c.keys;
        EXPECT_EQ((g_ParamFlags.load() & core::kFlagShiftLatched), 0u)
            << c.keys << ": the sign takes the SHIFT latch";
        Key(kKeyEnter);
        EXPECT_EQ(g_EditBuf.enteredInt, c.entered) << c.keys;
    }
}

TEST_F(Keypad, NewEntryClearsTheLastOnesNumbersButAPendingOneKeepsThem) {
    g_EditBuf.enteredInt = 77;
    g_EditBuf.entryValue = 5.0;
    g_EditBuf.entryScale = 100.0f;
    Key(kKeyEnter);  // the enter key alone starts from nothing
    EXPECT_EQ(g_EditBuf.enteredInt, 0);
    EXPECT_EQ(g_EditBuf.entryScale, 1.0f);

    g_EditBuf.entryScale = 100.0f;
    g_EditBuf.entryState = kPointTyped | (1u << 10);
    Type("3");
    EXPECT_EQ(g_EditBuf.entryScale, 1000.0f);
}

TEST_F(Keypad, DisabledEntryRefusesCharactersButStillEnters) {
    g_EditBuf.entryState = kDisabled;
    g_ParamFlags.fetch_or(core::kFlagShiftLatched);
    Type("1.");
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(g_EditBuf.entryState, kDisabled);
    EXPECT_NE(g_ParamFlags.load() & core::kFlagShiftLatched, 0u);
    g_EditBuf.entryValue = 4.0;
    g_EditBuf.entryScale = 10.0f;
    Key(kKeyEnter);
    EXPECT_EQ(g_EditBuf.enteredInt, 0) << "the enter key converts the (empty) text";
}

TEST_F(Keypad, CursorClassEndsTheEntryOtherClassesPassIt) {
    for (uint8_t cls : {kClassShortcut, kClassSoft, kClassFunction}) {
        menuResetEdit();
        Type("1.5");
        Key(64, cls);
        Key(kKeyEnter, cls);
        EXPECT_EQ(Text(), "1.5") << "class " << int(cls);
        EXPECT_EQ(Keystrokes(), 3u);
        EXPECT_EQ(g_EditBuf.enteredInt, 0);
    }
    g_EditBuf.enteredInt = 9;
    Key(64, kClassCursor);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(g_EditBuf.entryState, 0u);
    EXPECT_EQ(g_EditBuf.entryValue, 0.0);
    EXPECT_EQ(g_EditBuf.entryScale, 1.0f);
    EXPECT_EQ(g_EditBuf.enteredInt, 0);
}

}  // namespace
