// The running controller's calibration page behind the service password: the item list, a voltage
// calibration started by ENTER with its words to the stage, the prepare popup until the stage reports
// itself ready (the panel channel's calstat), the point popup, and EXIT back to the list.
#include "tests/system/fb_png.h"
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelCalibration : public FrontPanelSuite {
  protected:
    // The word last written to a register, asked until it is want (the keys act on a later pass).
    static bool StageWritten(int reg, const std::string& want) {
        const std::string tail = " written " + want + "\n";
        for (int tries = 0; tries < 20; ++tries) {
            if (!Panel("reg " + std::to_string(reg))) return false;
            const std::string out = c().Output();
            const size_t last = out.rfind("reg " + std::to_string(reg) + " = ");
            const size_t end = last == std::string::npos ? last : out.find('\n', last);
            if (end != std::string::npos && out.compare(end + 1 - tail.size(), tail.size(), tail) == 0)
                return true;
        }
        return false;
    }
    static std::string Golden(const std::string& name) {
        if (!Sync()) return "the panel did not catch up";
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
    static bool LoggedSinceMark(const std::string& text) { return WaitLogged(761, 31, text, false, 0); }
};

TEST_F(PanelCalibration, ItemListPointPopupAndExit) {
    ASSERT_TRUE(Panel("calstat 0"));
    Mark();
    Send("SYST:PASS 4145;:SYST:COMM:RLST LOC");
    ASSERT_TRUE(WaitLogged(5, 13, "Calibration")) << TextLog();
    EXPECT_TRUE(WaitLogged(20, 43, "1.U Voltage Calibration"));
    EXPECT_TRUE(WaitLogged(21, 44, "1.U Voltage Calibration")) << "the black copy";
    EXPECT_TRUE(WaitLogged(20, 211, "9.Zero RMS Calibration"));
    EXPECT_TRUE(WaitLogged(15, 45, " 1.U Voltage Calibration"));
    EXPECT_TRUE(WaitLogged(761, 31, "SAVE"));
    EXPECT_TRUE(WaitLogged(761, 91, "RECALL"));
    EXPECT_TRUE(WaitLogged(761, 151, "DEFAULT"));
    EXPECT_TRUE(WaitLogged(761, 211, "EXIT"));
    EXPECT_EQ(Golden("cal_items"), "");

    // With the output on, a key only switches it off.
    Send("OUTP ON;:SYST:COMM:RLST LOC");
    ASSERT_EQ(Ask("OUTP?;:SYST:COMM:RLST LOC"), "+1");
    Keys({"key U"});
    EXPECT_EQ(Ask("OUTP?;:SYST:COMM:RLST LOC"), "+0");
    EXPECT_TRUE(StageWritten(2353, "0")) << "nothing started";

    // ENTER starts phase U's voltage calibration; the point waits until the stage reports ready.
    Mark();
    Keys({"key U"});
    EXPECT_TRUE(StageWritten(2353, "17")) << c().Output();
    EXPECT_TRUE(StageWritten(2354, "8"));
    EXPECT_TRUE(WaitLogged(285, 188, "Calibration Prepare")) << TextLog();
    EXPECT_TRUE(WaitLogged(761, 211, "EXIT"));
    EXPECT_FALSE(LoggedSinceMark("SAVE")) << "SAVE, RECALL and DEFAULT only on the list";
    EXPECT_EQ(Golden("cal_prepare"), "") << "the page goes quiet while the point waits";

    ASSERT_TRUE(Panel("calstat 8"));
    EXPECT_TRUE(WaitLogged(285, 188, "U_Volt Cal, DC(-250 V)")) << TextLog();
    EXPECT_TRUE(WaitLogged(475, 208, "-280.000 ~ -220.000 V"));
    EXPECT_EQ(Golden("cal_point"), "");

    // EXIT aborts the points: the list again, its bar on item 1.
    Mark();
    Keys({"key T"});
    EXPECT_TRUE(StageWritten(2354, "32"));
    EXPECT_TRUE(WaitLogged(15, 45, " 1.U Voltage Calibration")) << TextLog();
    EXPECT_TRUE(WaitLogged(761, 31, "SAVE"));

    // The remote start shows the same point on this page.
    Mark();
    Send("CAL:CONF:MODE VOLT;:SYST:COMM:RLST LOC");
    EXPECT_TRUE(WaitLogged(285, 188, "U_Volt Cal, DC(-250 V)")) << TextLog();
    Keys({"key T"});

    // Item 7 runs the external offset calibration of all three phases to its end.
    ASSERT_TRUE(Panel("calstat 9"));
    Mark();
    Keys({"knob -6", "key U"});
    EXPECT_TRUE(StageWritten(2353, "71"));
    EXPECT_TRUE(WaitLogged(365, 175, "Ext Offset\\nCalibration Success", false, 20000)) << TextLog();
}

}  // namespace
