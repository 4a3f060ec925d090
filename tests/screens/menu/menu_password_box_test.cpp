// The default-setting and password dialog: its caption and field at their screen anchors (the box lies at
// (270, 180), its field at (295, 225)), and the text log never holding the typed digits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/system/state/edit_state.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/menu/menu_page_fixture.h"

namespace {

using menutest::Logged;
using menutest::Step;
using menutest::StepLog;
using menutest::TakeLog;

class MenuPasswordBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { menutest::StartPage(); }
    void TearDown() override {
        Type("");
        g_EditBuf.entryState = 0;
        menutest::StopPage();
    }
    // The keypad entry as the typed keys leave it.
    static void Type(const char* digits) {
        g_EditBuf.entryLength = static_cast<uint8_t>(std::strlen(digits));
        g_EditBuf.entryState = 1u | (uint32_t{g_EditBuf.entryLength} << 10);
        g_EditBuf.entryValue = std::atof(digits);
        std::memset(g_EditBuf.entryText, 0, sizeof g_EditBuf.entryText);
        std::memcpy(g_EditBuf.entryText, digits, g_EditBuf.entryLength);
    }
};

TEST_F(MenuPasswordBoxTest, DefaultSettingCaptionAndEnter) {
    Step(221, 3);
    const std::string log = StepLog(222, 3);
    EXPECT_TRUE(Logged(log, 275, 188, "0x39E7", "Default Setting")) << log;
    EXPECT_TRUE(Logged(log, 340, 227, "0x0000", "ENTER"));
}

TEST_F(MenuPasswordBoxTest, PasswordPlaceholderTypedDigitsAndError) {
    g_EditBuf.choiceValue = 0;
    Step(223, 3);
    std::string log = StepLog(224, 3);
    EXPECT_TRUE(Logged(log, 275, 188, "0x39E7", "Password")) << log;
    EXPECT_TRUE(Logged(log, 378, 239, "0xFFFF", "****")) << "right-aligned at the field's x 83";

    Type("12");
    Step(224, 2);
    log = TakeLog();
    EXPECT_TRUE(Logged(log, 370, 239, "0xFFFF", "**")) << log;
    EXPECT_EQ(log.find("12"), std::string::npos) << "typed digits never reach the log";

    Type("12345");
    Step(224, 2);
    log = TakeLog();
    EXPECT_TRUE(Logged(log, 370, 239, "0xFFFF", "Error")) << log;
}

// The code the knob sets is the field's: a changed working value changes the field.
TEST_F(MenuPasswordBoxTest, KnobCodeIsShownInTheField) {
    Step(223, 3);
    g_EditParam.workValue.store(8719);
    g_EditParam.cursor = 0;
    Step(224, 3);
    TakeLog();
    const std::vector<uint16_t> first = screentext::BoxPixels(guitest::Screen(), 295, 225, 444, 252);
    g_EditParam.workValue.store(1234);
    Step(224, 2);
    EXPECT_NE(screentext::BoxPixels(guitest::Screen(), 295, 225, 444, 252), first) << TakeLog();
    g_EditParam.workValue.store(0);
    g_EditParam.cursor = 0;
}

TEST_F(MenuPasswordBoxTest, BoxHiddenOnOtherStates) {
    Step(224, 3);
    Step(223, 3);
    const std::string log = StepLog(94, 15);
    EXPECT_EQ(log.find("Password"), std::string::npos) << log;
}

}  // namespace
