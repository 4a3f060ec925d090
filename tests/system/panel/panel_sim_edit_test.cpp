// The running controller in SIMULATE at the panel: the entry from SEQUENCE's soft key, the keys SIMULATE
// refuses, RUN and HOLD from the soft keys; the editors and SIM memories: knob, keys and keypad in
// SIMULATE (entered over the LAN), the states read back with the SIMulation queries, the memory file
// written by the save list.
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelSimEdit : public FrontPanelSuite {
  protected:
    // Asks until the reply is want (a wiring change takes its time); false when it never is.
    static bool WaitReply(const std::string& q, const std::string& want) {
        for (int tries = 0; tries < 50; ++tries) {
            if (Query(q) == want) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return false;
    }

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

// The entry from SEQUENCE's soft key with its preparation, the keys SIMULATE refuses, the switch to
// SEQUENCE and back.
TEST_F(PanelSimEdit, EntryRefusalsAndTheSwitchToSequence) {
    ASSERT_TRUE(KeyPopup("key M", "Sequence is ready.")) << c().Output();
    ASSERT_TRUE(KeyPopup("key Y", "Simulation is ready.")) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "SIM");
    EXPECT_TRUE(KeyPopup("key N", "Invalid in This Simulate")) << c().Output();
    EXPECT_TRUE(KeyPopup("key O", "Invalid in This Simulate")) << c().Output();
    ASSERT_TRUE(KeyPopup("key Y", "Sequence is ready.")) << c().Output();
    EXPECT_TRUE(KeyPopup("key Y", "Simulation is ready.")) << c().Output();
    EXPECT_EQ(Query("SYST:CONF?"), "SIM");
}

// RUN and HOLD from the soft keys.
TEST_F(PanelSimEdit, RunHoldAndStopFromTheSoftKeys) {
    Keys({"key X"});
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_EQ(WaitCondition("+1"), "+1");
    ASSERT_TRUE(Panel("key ["));
    EXPECT_EQ(WaitCondition("+2"), "+2");
    ASSERT_TRUE(Panel("key ["));
    EXPECT_EQ(WaitCondition("+1"), "+1");
    ASSERT_TRUE(Panel("key 92"));
    EXPECT_EQ(WaitCondition("+0"), "+0");
    Keys({"key X", "key L"});  // home: the editors below enter SIMULATE afresh
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");
}

TEST_F(PanelSimEdit, EditorsAndSaveList) {
    ASSERT_EQ(Query("SYST:CONF:MODE SIM;:SYST:CONF?"), "SIM");
    // A fresh root holds the default states.
    EXPECT_EQ(Query("SIM:INIT:FREQ?"), "+50.00");
    EXPECT_EQ(Query("SIM:NORM1:TIME?"), "+0.1000");
    EXPECT_EQ(Query("SIM:INIT:VOLT?"), "+0.00");
    ASSERT_TRUE(Sync());

    // Initial: the sync code; Normal1: repeat enable, then the voltage, typed and written to all phases.
    Keys({"knob 1", "key W", "knob 1", "knob 1", "key U", "key A", "key B", "key C", "key J", "key D",
          "key E", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SIM:NORM1:VOLT?"), "+123.45");
    EXPECT_EQ(Query("SIM:CST?"), "+1");
    // Frequency 600 Hz; the OFF phase enabled and typed 123.4 degrees: whole degrees above 500 Hz.
    Keys({"knob 1", "key U", "key F", "key @", "key @", "key U", "knob 1", "knob 1", "key U", "key Y",
          "key U", "knob 1", "key U", "key A", "key B", "key C", "key J", "key D", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SIM:NORM1:FREQ?"), "+600.00");
    EXPECT_EQ(Query("SIM:NORM1:PHAS:STOP?"), "+123.0");
    // Trans1: the cursor goes home to the state index; its time typed 0.
    Keys({"key W", "knob 1", "key U", "key @", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SIM:TRAN1:TIME?"), "+0.0000");

    // The save list: SIM1, a whole memory file.
    Keys({"key [", "knob -1", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Saved to SIM1")) << c().Output();
    EXPECT_EQ(std::filesystem::file_size(c().root() + "/mnt/tst/sim/SIM1.SIM"), 1972u);
}

// SIM1 (stored in 3P4W by the test above) recalled in 1P2W: ENTER, then NO keeps the tables and the
// wiring; ENTER, YES recalls the states with their wiring.
TEST_F(PanelSimEdit, RecallOfAnotherWiringIsConfirmed) {
    ASSERT_EQ(Query("SYST:CONF:MODE CONT;:DISP:DES:MODE NORM;:SYST:CONF?"), "CONT");
    // The home page shows on the GUI thread's next passes: the change is asked for until it takes.
    ASSERT_TRUE(WaitReply("SYST:CONF:PHAS 1;PHAS?", "1P2W")) << Query("SYST:CONF:PHAS?;:SYST:ERR?");
    ASSERT_EQ(Query("SYST:CONF:MODE SIM;:SYST:CONF?"), "SIM");
    ASSERT_EQ(Query("SIM:NORM1:VOLT 50;VOLT?"), "+50.00");
    ASSERT_TRUE(Sync());
    Keys({"key Z", "knob -1", "key U", "key U", "key U"});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SIM:NORM1:VOLT?"), "+50.00");
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "1P2W");
    const size_t ready = Count("popup: Simulation is ready.\n");
    Keys({"key Z", "key U", "key U", "key V", "key U"});
    EXPECT_TRUE(c().WaitForOutput("popup: Recalled from SIM1")) << c().Output();
    EXPECT_TRUE(Shown("Simulation is ready.", ready + 1, 5000)) << "the recalled states are prepared";
    EXPECT_TRUE(WaitReply("SYST:CONF:PHAS?", "3P4W"));
    EXPECT_EQ(Query("SIM:NORM1:VOLT?"), "+123.45");
    EXPECT_EQ(Query("SYST:CONF:MODE CONT;:SYST:CONF?"), "CONT");
}

}  // namespace
