// The running controller in SIMULATE at the panel: the entry from SEQUENCE's soft key with its
// preparation, the keys SIMULATE refuses, the switch to SEQUENCE and back, RUN and HOLD from the soft
// keys, and the SIMULATE power-on action after a restart.
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelSim : public FrontPanelSuite {
  protected:
    // The controller's output from here on is what WaitPopup looks at.
    static void MarkOutput() { outMark_ = c().Output().size(); }
    static bool WaitPopup(const std::string& text, int boundMs = 20000) {
        const std::string want = "popup: " + text + "\n";
        for (int waited = 0; waited <= boundMs; waited += 20) {
            const std::string out = c().Output();
            if (out.size() > outMark_ && out.find(want, outMark_) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    // A key, then the popup it must bring (the output marked before the key).
    static bool KeyPopup(const char* key, const std::string& text) {
        MarkOutput();
        return Panel(key) && WaitPopup(text);
    }
    // The run condition once the key's effect has reached the engine (bounded).
    static std::string WaitCondition(const std::string& want) {
        std::string got;
        for (int tries = 0; tries < 50 && (got = Query("SIM:COND?")) != want; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return got;
    }
    static inline size_t outMark_ = 0;
};

TEST_F(PanelSim, EntryRefusalsAndTheSwitchToSequence) {
    ASSERT_TRUE(KeyPopup("key M", "Sequence is ready.")) << c().Output();
    ASSERT_TRUE(KeyPopup("key Y", "Simulation is ready.")) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "SIM");
    EXPECT_TRUE(KeyPopup("key N", "Invalid in This Simulate")) << c().Output();
    EXPECT_TRUE(KeyPopup("key O", "Invalid in This Simulate")) << c().Output();
    ASSERT_TRUE(KeyPopup("key Y", "Sequence is ready.")) << c().Output();
    EXPECT_TRUE(KeyPopup("key Y", "Simulation is ready.")) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "SIM");
}

TEST_F(PanelSim, RunHoldAndStopFromTheSoftKeys) {
    Keys({"key X"});
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_EQ(WaitCondition("+1"), "+1");
    ASSERT_TRUE(Panel("key ["));
    EXPECT_EQ(WaitCondition("+2"), "+2");
    ASSERT_TRUE(Panel("key ["));
    EXPECT_EQ(WaitCondition("+1"), "+1");
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_EQ(WaitCondition("+0"), "+0");
    Keys({"key X"});
}

}  // namespace

namespace {

bool Ready(testsupport::ControllerProcess& p) {
    return p.WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs) &&
           p.WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(5025 + p.portOffset()),
                           testsupport::kStartupTimeoutMs);
}

// The SIMULATE power-on action: after the restart the panel enters SIMULATE, prepares, and only then the
// output goes on (lamps: output and SEQ/SIM).
TEST(PanelSimPowerOn, EntersAndSwitchesTheOutputOnAfterThePreparation) {
    testsupport::ControllerProcess first({"--text-log"});
    ASSERT_TRUE(Ready(first)) << first.Output();
    {
        testsupport::TcpClient client(5025 + first.portOffset());
        client.Send("OUTP:PON 3;:SYST:REB\n");
        client.Send("SYST:ERR?\n");
        EXPECT_EQ(client.ReadLine(15000), "+0,\"No error\"\n");
    }
    ASSERT_EQ(first.Stop(SIGTERM), 0) << first.Output();

    testsupport::ControllerProcess second({"--root", first.root(), "--text-log"});
    ASSERT_TRUE(Ready(second)) << second.Output();
    EXPECT_TRUE(second.WaitForOutput("popup: Simulation is ready.", 30000)) << second.Output();
    const std::string lamps = first.root() + "/var/run/panel-lamps";  // the root the second start runs on
    std::string word;
    for (int waited = 0; waited <= 10000 && word != "0x9"; waited += 20) {
        std::ifstream f(lamps);
        if (!(f >> word) || word != "0x9") std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(word, "0x9") << "output and SEQ/SIM lamps\n" << second.Output();
}

}  // namespace
