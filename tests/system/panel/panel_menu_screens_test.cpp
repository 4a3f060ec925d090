// The running controller's calibration page behind the service password, against the simulated stage's
// answers (the panel channel's calstat, or the stage by itself): the item list, a point's popups and its
// words to the stage, the remote changes refused while a point runs, and the way out of calibration with
// the output switching on again. (The menu pages, overlays and popups as pictures: tests/screens and
// tests/panel.)
#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelMenuScreens : public FrontPanelSuite {
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
    // The calibration item list, entered by its password, with the simulated stage answering by itself.
    static void CalibrationListOnTheStagesOwnAnswers() {
        ASSERT_TRUE(Panel("calstat auto"));
        Mark();
        SendLocal("SYST:PASS 4145");
        ASSERT_TRUE(WaitLogged(761, 31, "SAVE")) << TextLogSinceMark();
    }
    static bool LoggedSinceMark(const std::string& text) { return WaitLogged(761, 31, text, false, 0); }
    static std::string Golden(const std::string& name) {
        if (!Sync()) return "the panel did not catch up";
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
};

// First in the suite: the calibration page behind the service password: the item list, a voltage
// calibration started by ENTER with its words to the stage, the prepare popup until the stage reports
// itself ready (the panel channel's calstat), the point popup, and EXIT back to the list.
TEST_F(PanelMenuScreens, CalibrationItemListPointPopupAndExit) {
    ASSERT_TRUE(Panel("calstat 0"));
    Mark();
    SendLocal("SYST:PASS 4145");
    ASSERT_TRUE(WaitLogged(761, 211, "EXIT")) << TextLog();
    EXPECT_EQ(Golden("cal_items"), "");

    // With the output on, a key only switches it off.
    SendLocal("OUTP ON");
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
    EXPECT_EQ(Golden("cal_point"), "");

    // EXIT aborts the points: the list again, its bar on item 1.
    Mark();
    Keys({"key T"});
    EXPECT_TRUE(StageWritten(2354, "32"));
    EXPECT_TRUE(WaitLogged(15, 45, " 1.U Voltage Calibration")) << TextLog();
    EXPECT_TRUE(WaitLogged(761, 31, "SAVE"));

    // The remote start shows the same point on this page.
    Mark();
    SendLocal("CAL:CONF:MODE VOLT");
    EXPECT_TRUE(WaitLogged(285, 188, "U_Volt Cal, DC(-250 V)")) << TextLog();
    Keys({"key T"});

    // Item 7 runs the external offset calibration of all three phases to its end.
    ASSERT_TRUE(Panel("calstat 9"));
    Mark();
    Keys({"knob -6", "key U"});
    EXPECT_TRUE(StageWritten(2353, "71"));
    EXPECT_TRUE(WaitLogged(365, 175, "Ext Offset\\nCalibration Success", false, 20000)) << TextLog();
    Keys({"key \\"});
}

// A remote command that would take the panel off the calibration page or reconfigure the output is refused
// while a point runs, before it changes anything: the point stays up and works, and once calibration is
// left the output switches on again.
TEST_F(PanelMenuScreens, CalibrationPointRefusesPageAndOutputChanges) {
    // Preset 5 holds another output mode than the one in force.
    const std::string mode = Query("MODE?");
    SendLocal(std::string("MODE ") + (mode == "DC-INT" ? "AC-INT" : "DC-INT") + ";*SAV 5;:MODE " + mode);
    const std::string settings = Query("MODE?;:VOLT:RANG?;:SYST:CONF?");
    ASSERT_TRUE(Panel("calstat 8"));
    Mark();
    // The point's state is entered before the panel has seen the list: its page shows all the same.
    SendLocal("SYST:PASS 4145;:CAL:CONF:MODE VOLT");
    ASSERT_TRUE(WaitLogged(285, 188, "U_Volt Cal, DC(-250 V)")) << TextLog();
    for (const char* change :
         {"MODE 1", "DISP:DES:MODE SIMP", "SYST:CONF SEQ", "*RST", "VOLT:RANG 1", "*RCL 5", "MEM:RCL 5"}) {
        Send(change);
        EXPECT_EQ(Query("SYST:ERR?"), "-221,\"Settings conflict\"") << change;
    }
    EXPECT_EQ(Query("MODE?;:VOLT:RANG?;:SYST:CONF?"), settings);
    // The errors read, the SCPI Error box over the point goes, and the point is what it was.
    EXPECT_TRUE(WaitColour(280, 150, 480, 153, 0xF800, 0));
    EXPECT_EQ(Golden("cal_point"), "") << "the point stays on screen";
    Keys({"key L"});
    EXPECT_EQ(Golden("cal_point"), "") << "the MENU key leaves the point where it is";
    // The point still takes its value (the stage asks for it again) and its EXIT, then the list's EXIT.
    ASSERT_TRUE(Panel("calstat 10"));
    Keys({"key U"});
    EXPECT_TRUE(StageWritten(2443, "-250")) << c().Output();
    Mark();
    Keys({"key T"});
    EXPECT_TRUE(StageWritten(2354, "32"));
    EXPECT_TRUE(WaitLogged(761, 31, "SAVE")) << "the item list again";
    Keys({"key \\"});
    EXPECT_EQ(Query("*OPC?;:OUTP ON;*OPC?;:OUTP?;:SYST:ERR?"), "1;1;+1;+0,\"No error\"");
    EXPECT_EQ(Query("OUTP OFF;*OPC?;:OUTP?"), "1;+0");
}

// Without calstat the simulated stage answers a calibration by itself: phase U's voltage calibration runs
// from the panel through its six points, the high range after the third, and back to the item list.
TEST_F(PanelMenuScreens, VoltageCalibrationRunsOnTheStagesOwnAnswers) {
    ASSERT_NO_FATAL_FAILURE(CalibrationListOnTheStagesOwnAnswers());
    // ENTER starts the item, then takes each point's value; each point's popup follows its preparation.
    for (int point = 0; point < 6; ++point) {
        Mark();
        Keys({"key U"});
        ASSERT_TRUE(WaitLogged(285, 188, "U_Volt Cal, DC(", true)) << "point " << point << TextLogSinceMark();
        EXPECT_TRUE(StageWritten(2353, point < 3 ? "17" : "25")) << point;
    }
    Mark();
    Keys({"key U"});
    EXPECT_TRUE(WaitLogged(761, 31, "SAVE")) << "the item list again" << TextLogSinceMark();
    Keys({"key \\"});
    EXPECT_EQ(Query("OUTP ON;*OPC?;:OUTP?;:OUTP OFF;*OPC?;:OUTP?"), "1;+1;1;+0");
}

// A one-shot calibration sent while the panel is on the home page runs on the calibration page, its item
// barred, so that the panel can leave the calibration mode it leaves standing: the list's EXIT, and the
// output switches on again.
TEST_F(PanelMenuScreens, RemoteOneShotFromHomeShowsTheCalibrationPage) {
    ASSERT_NO_FATAL_FAILURE(CalibrationListOnTheStagesOwnAnswers());
    Keys({"key \\"});
    ASSERT_EQ(Query("OUTP ON;*OPC?;:OUTP?;:OUTP OFF;*OPC?;:SYST:ERR?"), "1;+1;1;+0,\"No error\"")
        << "home, out of calibration";
    Mark();
    SendLocal("CAL:CONF:MODE EXT");
    EXPECT_TRUE(WaitLogged(365, 175, "Ext Offset\\nCalibration Success", false, 20000)) << TextLogSinceMark();
    EXPECT_TRUE(WaitLogged(15, 171, " 7.Ext Offset Calibration")) << TextLogSinceMark();
    EXPECT_TRUE(WaitLogged(761, 211, "EXIT"));
    Keys({"key \\"});
    EXPECT_EQ(Query("OUTP ON;*OPC?;:OUTP?;:SYST:ERR?"), "1;+1;+0,\"No error\"");
    EXPECT_EQ(Query("OUTP OFF;*OPC?;:OUTP?"), "1;+0");
}

// A calibration's exit completes once the calibration mode has ended: the output switches on right after
// it, in the same message, whether the exit leaves a point, the list, or the data's save.
TEST_F(PanelMenuScreens, CalibrationExitEndsTheModeBeforeTheNextCommand) {
    ASSERT_TRUE(Panel("calstat auto"));
    for (const char* exit : {"SYST:PASS 4145;:CAL:CONF:MODE EXIT", "SYST:PASS 4145;:CAL:CONF:MODE VOLT;MODE EXIT",
                             "SYST:PASS 4145;:CAL:CONF:MODE SAVE"}) {
        for (int round = 0; round < 3; ++round) {
            EXPECT_EQ(Query(std::string(exit) + ";:OUTP ON;*OPC?;:OUTP?;:SYST:ERR?"), "1;+1;+0,\"No error\"")
                << exit << ", round " << round;
            EXPECT_EQ(Query("OUTP OFF;*OPC?;:OUTP?"), "1;+0");
        }
    }
}

}  // namespace
