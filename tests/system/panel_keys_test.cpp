// The running controller's panel keys: a setting typed and entered, the knob on the digit under the
// cursor, the MENU page and back. Any SCPI command puts the panel in remote: SHIFT then PRESET returns it
// to local before the next keys.
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelKeys : public FrontPanelSuite {};

TEST_F(PanelKeys, TypedValueAppliesOnEnterAndTheKnobAppliesAtOnce) {
    // 'O' opens the AC voltage; '@', 'A', 'B' are the keypad's 0, 1, 2.
    Keys({"key O", "key A", "key B", "key @", "key U"});
    EXPECT_EQ(Ask("VOLT?"), "+120.0000");
    // The enter key left the field: 'O' opens it again, the knob raises the last shown digit (0.10 V at
    // 120.00 V), 'O' leaves, and the knob then moves the panel row instead of the value.
    Keys({"key S", "key N", "key O", "knob 1", "key O", "knob 1"});
    EXPECT_EQ(Ask("VOLT?"), "+120.1000");
}

TEST_F(PanelKeys, MenuOpensTheMenuPageAndBackReturnsHome) {
    Keys({"key S", "key N"});
    Mark();
    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(WaitLogged(5, 13, "MENU")) << TextLog();
    EXPECT_TRUE(WaitLogged(16, 59, "1. System Information")) << "the focus bar on the first row";
    EXPECT_TRUE(WaitLogged(760, 451, "EXIT"));
    EXPECT_TRUE(Sync()) << "what the hidden home page still had queued is not waited for";
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    // Home again: its status bar shows the wiring, right-aligned to (638, 3).
    EXPECT_TRUE(WaitLogged(638, 3, "3P4W")) << TextLog();
}

}  // namespace
