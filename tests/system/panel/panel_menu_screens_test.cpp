// The running controller's screens as the eye sees them: the overlay of the home page (the quick-edit hint
// line and soft keys of a setting being edited, the range keys, the limit and wiring popups, also read from
// the text log), then the MENU page's top menu with the previews of its entries and the configuration lists
// with their value columns, the waveform editor (one type of each kind, set remotely), the service code's
// switch and calibration data lists, and the calibration page, each against its golden picture.
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
    // A picture taken as soon as it matches, without waiting for the panel to catch up first.
    static std::string Picture(const std::string& name) {
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
    static void Build(const std::string& type) {
        SendLocal("SYST:ARB:EDIT:BUIL " + type);
    }
    static std::string Golden(const std::string& name) {
        if (!Sync()) return "the panel did not catch up";
        return ScreenMatchesGolden(c().root(), c().workDir(), name);
    }
    // One knob event moves the focus one entry, whatever its delta.
    static void Down(int entries) {
        for (int i = 0; i < entries; ++i)
            Keys({"knob -1"});
    }
    // From the top menu's current entry: down n entries, then the preview; enter, then the list.
    static void EntryAndList(int entries, const std::string& name) {
        Down(entries);
        EXPECT_EQ(Golden("menu_preview_" + name), "");
        Keys({"key U"});
        EXPECT_EQ(Golden("menu_" + name), "");
        Keys({"key L"});  // back to the top menu, on the same entry
    }
    // From the home view to the Special Function row, then a code typed into the password box.
    static void EnterCode(std::initializer_list<const char*> digits) {
        Keys({"key L"});
        Down(15);
        Keys({"knob 1", "key U"});
        Keys(digits);
        Keys({"key U"});
    }
};

TEST_F(PanelMenuScreens, QuickEditShowsTheRangeAndTheSoftKeys) {
    Mark();
    ASSERT_TRUE(Panel("key O"));
    EXPECT_TRUE(WaitLogged(0, 12, "Quick ACV (", true)) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 151, "MAX")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 211, "MIN")) << TextLog();
    EXPECT_EQ(Picture("overlay_quick_acv"), "");
    Mark();
    ASSERT_TRUE(Panel("key O"));
    // The column goes: the home page's own keys show again at its place.
    EXPECT_TRUE(WaitLogged(760, 143, "ITEM1\\nVrms")) << TextLog();

    Mark();
    ASSERT_TRUE(Panel("key R"));
    EXPECT_TRUE(WaitLogged(760, 31, "AUTO")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 151, "200V")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 211, "100V")) << TextLog();
    EXPECT_EQ(Picture("overlay_range"), "");
    ASSERT_TRUE(Panel("key T"));

    // Quick Irms's field is one row high (596, 222, 108 x 30): the phasor's title below it stays in sight.
    const std::vector<uint16_t> belowIrms = Box(596, 252, 703, 316);
    Mark();
    ASSERT_TRUE(Panel("key Q"));
    EXPECT_TRUE(WaitLogged(0, 12, "Quick Irms (", true)) << TextLog();
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Box(596, 252, 703, 316), belowIrms) << "the field covers the phasor";
    Keys({"key T", "key O", "key O"});  // the ACV row selected again, as the next scenes' pictures have it
}

TEST_F(PanelMenuScreens, LimitKindPopupAndWiringDialog) {
    Mark();
    Keys({"key S", "key Q"});
    EXPECT_TRUE(WaitLogged(265, 200, "IPK Limit")) << TextLog();
    EXPECT_TRUE(WaitLogged(300, 235, "IPK+")) << TextLog();
    EXPECT_TRUE(WaitLogged(410, 235, "IPK-")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 451, "EXIT")) << TextLog();
    EXPECT_EQ(Picture("overlay_ipk_limit"), "");
    ASSERT_TRUE(Panel("key T"));

    Mark();
    Keys({"key S", "key H"});
    EXPECT_TRUE(WaitLogged(255, 201, "Please select the configure phase.")) << TextLog();
    EXPECT_TRUE(WaitLogged(282, 265, "3P4W")) << TextLog();
    EXPECT_TRUE(WaitLogged(377, 265, "1P2W")) << TextLog();
    EXPECT_TRUE(WaitLogged(471, 265, "1P3W")) << TextLog();
    EXPECT_EQ(Picture("overlay_wiring"), "");
    ASSERT_TRUE(Panel("key T"));
}

// The knob's entries on this unit (RS232, no option card): MISC, LAN, USB Device, RS232C, Output
// Impedance, Parallel, Arbitrary Edit, Default Setting, Special Function, Save/Recall Files.
TEST_F(PanelMenuScreens, TopMenuPreviewsAndLists) {
    Keys({"key L"});
    EXPECT_TRUE(WaitLogged(5, 13, "MENU")) << TextLog();
    EXPECT_EQ(Golden("menu_top"), "") << "System Information's preview";
    EntryAndList(1, "misc");
    EntryAndList(1, "lan");
    EntryAndList(3, "impedance");  // Option Interface is passed over
    EntryAndList(1, "parallel");
    Down(2);
    EXPECT_EQ(Golden("menu_preview_default"), "");
    Down(1);
    EXPECT_EQ(Golden("menu_preview_special"), "");
    EntryAndList(1, "saverecall");
    Keys({"knob 1", "key U"});
    EXPECT_EQ(Golden("menu_password"), "") << "Special Function's password box";
    Keys({"key A", "key B", "key C", "key D", "key E"});
    EXPECT_EQ(Golden("menu_password_error"), "") << "five digits";
    Keys({"key T", "key T", "key L"});
}

// The waveform editor's sub-page as a whole for a computed type, a stored shape with its table, the DIP, and the type being
// chosen. After each remote type change the editor is left for its top-menu row and opened again, so the
// page draws the rows of the new type afresh.
TEST_F(PanelMenuScreens, WaveformEditorOneTypeOfEachKind) {
    ASSERT_TRUE(Panel("key L"));
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(Panel("knob -1"));
    Keys({"knob 1", "knob 1", "knob 1", "key U"});
    // The editor opens on the curve it holds: the green trace in the preview (30, 43, 350 x 375) at once.
    EXPECT_TRUE(WaitColour(30, 43, 379, 417, 0x07E0, 100)) << "the preview is empty";
    const struct {
        const char* type;
        const char* golden;
    } kTypes[] = {{"TRI", "arb_edit_tri"}, {"DST07", "arb_edit_dst07"}, {"DIP", "arb_edit_dip"}};
    for (const auto& t : kTypes) {
        Build(t.type);
        Keys({"key V", "key U"});
        EXPECT_EQ(Picture(t.golden), "") << t.type;
    }
    Keys({"key U", "knob 1"});  // the type turned from DIP to LF-RING
    EXPECT_EQ(Picture("arb_edit_type_choice"), "");
    Keys({"key T", "key L", "key L"});
}

// The switch list in its two columns, a toggled switch on the bar; the data list's unit cycling on its
// first row.
TEST_F(PanelMenuScreens, SwitchListAndTheCalibrationUnitRow) {
    Mark();
    EnterCode({"key I", "key C", "key G", "key A"});  // 9371
    EXPECT_TRUE(WaitLogged(17, 43, "1. Detail Alarm Message : OFF")) << TextLog();
    EXPECT_TRUE(WaitLogged(17, 442, "20. 1P2W 3Phase Show:OFF"));
    EXPECT_TRUE(WaitLogged(392, 43, "21. Temp Show:OFF"));
    // The knob steps the bar down the list (the switch stands ON); ENTER toggles the switch under it,
    // twice back as it was.
    const struct {
        const char* key;
        const char* bar;
    } steps[] = {{"knob -1", " 2. OCP Enable: ON"}, {"key U", " 2. OCP Enable: OFF"}, {"key U", " 2. OCP Enable: ON"}};
    for (const auto& step : steps) {
        Mark();
        Keys({step.key});
        EXPECT_TRUE(WaitLogged(12, 66, step.bar)) << step.key << TextLog();
    }

    Keys({"key V"});  // back to the Special Function row
    Mark();
    Keys({"key U", "key H", "key C", "key @", "key E", "key U"});  // 8305
    EXPECT_TRUE(WaitLogged(17, 43, "01. Calibration Data R/W :    Master")) << TextLog();
    Mark();
    Keys({"key U"});
    EXPECT_TRUE(WaitLogged(12, 45, " 01. Calibration Data R/W :    Slave 1")) << TextLog();
    Keys({"key V", "key L"});  // the Special Function row, then home
}

// Last in the suite: the calibration page behind the service password: the item list, a voltage
// calibration started by ENTER with its words to the stage, the prepare popup until the stage reports
// itself ready (the panel channel's calstat), the point popup, and EXIT back to the list.
TEST_F(PanelMenuScreens, CalibrationItemListPointPopupAndExit) {
    ASSERT_TRUE(Panel("calstat 0"));
    Mark();
    SendLocal("SYST:PASS 4145");
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
