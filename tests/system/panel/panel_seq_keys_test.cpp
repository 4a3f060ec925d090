// The running controller's SEQUENCE keys: the SEQ key's refusals and entry with its preparation, the lamp
// and the function word, the keys SEQUENCE refuses, the step keys and step editor read back over the LAN,
// the save list, the OUTPUT key's off, and the way home.
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelSeqKeys : public FrontPanelSuite {
  protected:
    static void Command(const std::string& m) {
        SendLocal(m);
        ASSERT_TRUE(Sync());
    }
    // The SEQ queries take no other command after them in their message.
    static std::string Alone(const std::string& q) {
        const std::string answer = Ask(q);
        Command("SYST:COMM:RLST LOC");
        return answer;
    }
    static std::string Step() { return Alone("SEQ:STEP?"); }
};

TEST_F(PanelSeqKeys, EntryKeysAndExit) {
    const std::string outputOn = "Invalid with Output ON, \nTurn OFF the Output First";
    Command("OUTP ON");
    Keys({"key M"});
    EXPECT_TRUE(Shown(outputOn, 1)) << c().Output();
    Command("OUTP OFF;:VOLT:RANG AUTO");
    Keys({"key M"});
    EXPECT_TRUE(Shown("Invalid For Auto Range", 1)) << c().Output();
    Command("VOLT:RANG R200");
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");

    Keys({"key M"});
    EXPECT_TRUE(Shown("Sequence preparation...", 1)) << c().Output();
    EXPECT_TRUE(Shown("Sequence is ready.", 1)) << c().Output();
    EXPECT_TRUE(WaitLamps("0x8"));
    EXPECT_EQ(Query("SYST:CONF?"), "SEQ");

    Keys({"key N", "key O"});
    EXPECT_TRUE(Shown("Invalid in This Sequence", 2)) << c().Output();
    Keys({"key W"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Step(), "+1");
    // The step editor: 1500 typed selects the last step.
    Keys({"key U", "key A", "key E", "key @", "key @", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Step(), "+999");

    // The save list from the step index, two slots up.
    Keys({"key [", "knob -2", "key U"});
    EXPECT_TRUE(Shown("Saved to SEQ2", 1)) << c().Output();

    // MENU refused with the output on; the panel's OUTPUT key switches it off (no run), then home.
    Command("OUTP ON");
    Keys({"key L"});
    EXPECT_TRUE(Shown(outputOn, 2)) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "SEQ");
    Keys({"key X"});
    EXPECT_TRUE(WaitLamps("0x8")) << c().Output();
    EXPECT_EQ(Query("OUTP?"), "+0");
    Keys({"key L"});
    EXPECT_TRUE(WaitLamps("0x0"));
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");
}

// Run control from the soft keys: RUN, HOLD, resume and STOP of a three-step program.
TEST_F(PanelSeqKeys, RunControl) {
    const size_t ready = Count("popup: Sequence is ready.\n");
    Keys({"key M"});
    ASSERT_TRUE(Shown("Sequence is ready.", ready + 1)) << c().Output();
    for (const char* step : {"SEQ:STEP 0;CPAR 5,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0",
                             "SEQ:STEP 1;CPAR 5,0,0,0,0,CONT,0,0,0,0,0,0,0,0,0",
                             "SEQ:STEP 2;CPAR 5,0,0,0,0,END,0,0,0,0,0,0,0,0,0", "SEQ:STEP 0"})
        Command(step);
    EXPECT_EQ(Alone("SEQ:COND?"), "+0");
    Keys({"key X", "key 92"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Alone("SEQ:COND?"), "+1");
    Keys({"key ["});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Alone("SEQ:COND?"), "+2");
    Keys({"key ["});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Alone("SEQ:COND?"), "+1");
    Keys({"key 92"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Alone("SEQ:COND?"), "+0");
    // The panel drops keys while the stage is busy after the output went off.
    Command("OUTP OFF");
    std::this_thread::sleep_for(std::chrono::seconds(3));
    Keys({"key L"});
    EXPECT_TRUE(WaitLamps("0x0")) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");
}

// The power-on setting SEQUENCE, kept by the restart save: the next start enters SEQUENCE and switches the
// output on once the sequence is ready.
TEST(PanelSeqPowerOn, TheNextStartRunsSequenceWithTheOutputOn) {
    ControllerProcess first({"--text-log"});
    ASSERT_TRUE(first.WaitForOutput(
        "LAN: SCPI socket listening on port " + std::to_string(5025 + first.portOffset()), kStartupTimeoutMs))
        << first.Output();
    {
        TcpClient client(5025 + first.portOffset());
        client.Send("OUTP:PON 2;:SYST:REB\n");
    }
    EXPECT_TRUE(first.WaitForOutput("MenuThread: settings saved for the restart")) << first.Output();
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();

    ControllerProcess next({"--root", first.root(), "--text-log"});
    EXPECT_TRUE(next.WaitForOutput("popup: Sequence is ready.", kStartupTimeoutMs)) << next.Output();
    const std::string lamps = first.root() + "/var/run/panel-lamps";
    std::string word;
    for (int waited = 0; waited <= 10000 && word != "0x9\n"; waited += 20) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream f(lamps);
        word.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    EXPECT_EQ(word, "0x9\n") << next.Output();
    EXPECT_EQ(next.Stop(SIGTERM), 0) << next.Output();
}

}  // namespace
