// The running controller's MENU lists: rows by the knob, the MISC editors by keypad and knob, and what
// they stored as SCPI reads it. Each scene starts and ends on the home view; every SCPI message returns
// the panel to local, so that the keys after it count.
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelMenuKeys : public FrontPanelSuite {
  protected:
    static std::string Query(const std::string& q) { return Ask(q + ";:SYST:COMM:RLST LOC"); }
    // MENU twice: from a MISC row to MISC Configuration, then to the home view.
    static void Home() { Keys({"key L", "key L"}); }
    static void OpenMisc() { Keys({"key L", "knob -1", "key U"}); }
};

// '@', 'A'-'I' are the keypad's 0-9.
TEST_F(PanelMenuKeys, PeakHoldTimeTypedWithinItsLimits) {
    OpenMisc();
    Keys({"key U", "key B", "key E", "key U"});
    EXPECT_EQ(Query("SYST:PKH:TIME?"), "+25");
    Keys({"key U", "key G", "key @", "key @", "key @", "key @", "key U"});
    EXPECT_EQ(Query("SYST:PKH:TIME?"), "+25") << "70000 is above the limit";
    Keys({"key U", "key B", "key T", "key T"});
    EXPECT_EQ(Query("SYST:PKH:TIME?"), "+25");
    Keys({"key U", "key C", "key U"});
    EXPECT_EQ(Query("SYST:PKH:TIME?"), "+3") << "the exits left the cursor on the row";
    Home();
}

TEST_F(PanelMenuKeys, BuzzerOffByTheKnob) {
    OpenMisc();
    Keys({"knob -1", "knob -1", "knob -1", "knob -1", "knob -1", "key U", "knob -1", "key U"});
    EXPECT_EQ(Query("SYST:BEEP:STAT?"), "+0");
    Home();
}

TEST_F(PanelMenuKeys, MonitorOutputIn1P2WOffersOnlyL1) {
    // Output Phase to 1P2W, confirmed with YES.
    OpenMisc();
    Mark();
    Keys({"knob -1", "key U", "knob 1", "key U", "key V", "key U"});
    ASSERT_TRUE(WaitLogged(365, 190, "Configure Phase is Ready", true)) << TextLog();
    OpenMisc();
    for (int i = 0; i < 13; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"key U", "knob 1", "key U"});
    EXPECT_EQ(Query("OUTP:MON:SOUR1?"), "L1Current");
    Home();
    // Peak CLR: whatever is chosen, 1P2W clears ALL and says so.
    OpenMisc();
    Mark();
    Keys({"knob -1", "knob -1", "knob -1", "key U", "knob 1", "key U"});
    EXPECT_TRUE(WaitLogged(365, 175, "Peak Hold Clear \\nSuccess")) << TextLog();
    Home();
}

}  // namespace
