// The running controller's home keys: the AC voltage field by knob, cursor and keypad, preset mode's
// save, recall and exit, and the frozen meter. Any SCPI command puts the panel in remote: SHIFT then
// PRESET returns it to local before the next keys.
#include "tests/system/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelHomeKeys : public FrontPanelSuite {
  protected:
    static void Local() { Keys({"key S", "key N"}); }
    // A popup's text, logged where the message popup draws its first line.
    static bool Popup(const std::string& text) { return WaitLogged(365, 190, text); }
};

// '@', 'A'-'I' are the keypad's 0-9, 'J' its point; 'O' opens the AC voltage of the selected phase.
TEST_F(PanelHomeKeys, AcVoltageByKnobCursorAndKeypad) {
    Keys({"key O", "knob 3"});
    EXPECT_TRUE(StageHas(2384, "0.03")) << c().Output();
    EXPECT_EQ(Ask("VOLT?"), "+0.0300");
    Send("VOLT 0");
    Local();
    Keys({"key T", "key O", "key V", "key V", "key V", "key V", "knob 1", "key T"});
    EXPECT_EQ(Ask("VOLT?"), "+100.0000");
    Local();
    Keys({"key O", "key A", "key J", "key B", "key J", "key C", "key U"});
    EXPECT_EQ(Ask("VOLT?"), "+1.2300") << "the second point is ignored";
}

TEST_F(PanelHomeKeys, PresetModeSavesRecallsAndLeaves) {
    Send("VOLT 50");
    Local();
    Mark();
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(Popup("Preset Mode")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("hold I"));
    EXPECT_TRUE(Popup("Saved To M9")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("hold ["));
    EXPECT_TRUE(Popup("Saved To M2")) << TextLog();
    // OUTPUT works in preset mode and leaves it on: the next other key leaves it.
    ASSERT_TRUE(Panel("key X"));
    EXPECT_TRUE(StageHas(2346, "1")) << c().Output();
    Mark();
    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(Popup("Exit Preset Mode")) << TextLog();
    EXPECT_EQ(Ask("OUTP?"), "+1");
    Send("OUTP 0");
    Send("VOLT 80");
    EXPECT_EQ(Ask("VOLT?"), "+80.0000");
    Local();
    Keys({"key N", "key ["});
    EXPECT_EQ(Ask("VOLT?"), "+50.0000") << "soft key 3 recalls M2";
    Local();
    Mark();
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(Popup("Exit Preset Mode")) << TextLog();
}

TEST_F(PanelHomeKeys, FrozenMeterRefusesTheFieldKeys) {
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(Popup("Meter Frozen")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key O"));
    EXPECT_TRUE(Popup("Invalid in This Meter Frozen")) << TextLog();
    ASSERT_TRUE(Panel("key 96"));
}

// Past the AC-INT limit of 175 V the knob holds the voltage there and says so.
TEST_F(PanelHomeKeys, AcVoltageKnobStopsAtTheModesLimit) {
    Send("VOLT 0");
    Send("MODE 1");
    Local();
    Mark();
    Keys({"key O", "key V", "key V", "key V", "key V", "knob 2", "knob 1"});
    EXPECT_TRUE(Popup("Setting Voltage Limited")) << TextLog();
    EXPECT_EQ(Ask("VOLT?"), "+175.0000");
    Send("VOLT 0");
    Send("MODE 0");
}

// SHIFT with the range key opens the output mode, the range key alone the voltage range; both reach the
// stage.
TEST_F(PanelHomeKeys, OutputModeAndRangeFromTheirKeys) {
    Send("MODE 0");
    Send("VOLT:RANG R100");
    Local();
    Keys({"key S", "key R", "knob -1", "key U"});
    EXPECT_EQ(Ask("MODE?"), "AC-INT");
    EXPECT_TRUE(StageHas(2336, "2")) << c().Output();
    Local();
    Keys({"key R", "key ["});
    EXPECT_EQ(Ask("VOLT:RANG?"), "200");
    Send("VOLT:RANG R100");
    Send("MODE 0");
}

}  // namespace
