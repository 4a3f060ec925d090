// The running controller in SEQUENCE (fresh root, model type 1: 3P4W, AC+DC-INT, 100 V): the SEQ key's
// page, its recall list and SIMULATE and back as the framebuffer shows them; a SEQ memory saved and recalled
// in another wiring once its wiring dialog is confirmed; a cleared memory run on the simulated stage to its
// end. Keys follow the ready popup; every SCPI message ends by returning the panel to local. (The editors,
// templates and SIMULATE's memories: tests/screens/seqsim and tests/engine.)
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

constexpr const char* kNoError = "+0,\"No error\"";

class SeqPageScenes : public FrontPanelSuite {
  protected:
    static void EnterSeq() {
        Mark();
        ASSERT_TRUE(Panel("key M"));
        ASSERT_TRUE(Popup("Sequence is ready.", 30000)) << TextLog();
    }
    // Waits until a text containing part was drawn since the mark.
    static bool WaitText(const std::string& part, int boundMs = 15000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (TextLogSinceMark().find(part) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static std::string Golden(const std::string& name, int boundMs = 5000) {
        return ScreenMatchesGolden(c().root(), c().workDir(), name, boundMs);
    }
    // A command, then the error queue's answer, so that it is known done before the next key.
    static std::string Command(const std::string& m) {
        Send(m);
        return Query("SYST:ERR?");
    }
};

// The SEQ key's preparation and page, the field cursor by the knob, the recall list, SIMULATE and back
// (each page prepares afresh), and the way home.
TEST_F(SeqPageScenes, PageEntryTheRecallListAndSimulate) {
    SendLocal("MODE 0");
    ASSERT_EQ(Query("MODE?"), "ACDC-INT");
    Mark();
    ASSERT_TRUE(Panel("key M"));
    EXPECT_TRUE(WaitText("Sequence preparation...")) << TextLog();
    EXPECT_TRUE(WaitText("Sequence is ready.")) << TextLog();
    EXPECT_TRUE(WaitLogged(10, 8, "SEQUENCE"));
    EXPECT_TRUE(WaitLogged(250, 8, "Step 000"));
    EXPECT_TRUE(WaitLogged(710, 8, "STOP"));
    EXPECT_TRUE(WaitLamps("0x8"));
    EXPECT_EQ(Query("SYST:CONF?"), "SEQ");
    ASSERT_TRUE(Sync());

    // The knob's first field is Time; at step 0 the next is Sync Code.
    Mark();
    ASSERT_TRUE(Panel("knob 1"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_time_selected"), "");
    Mark();
    ASSERT_TRUE(Panel("knob 1"));
    EXPECT_TRUE(WaitLogged(10, 48 + 2 * 25, "Sync Code")) << TextLog();
    ASSERT_TRUE(Panel("knob -1"));
    ASSERT_TRUE(Panel("knob -1"));

    // The recall list, closed by its key again.
    Mark();
    ASSERT_TRUE(Panel("key Z"));
    EXPECT_TRUE(WaitLogged(20, 50, "Recall")) << TextLog();
    EXPECT_TRUE(WaitText("SEQ9"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_recall_list"), "");
    Mark();
    ASSERT_TRUE(Panel("key Z"));
    EXPECT_TRUE(WaitLogged(10, 48, "Step")) << TextLog();

    // SIMULATE and back: each page prepares afresh.
    Mark();
    ASSERT_TRUE(Panel("key Y"));
    EXPECT_TRUE(WaitText("Simulation is ready.")) << TextLog();
    EXPECT_TRUE(WaitLogged(10, 8, "SIMULATE"));
    EXPECT_TRUE(WaitLogged(250, 8, "Initial"));
    EXPECT_EQ(Query("SYST:CONF?"), "SIM");
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_sim_initial"), "");
    Mark();
    ASSERT_TRUE(Panel("key Y"));
    EXPECT_TRUE(WaitText("Sequence is ready.")) << TextLog();
    EXPECT_TRUE(WaitLogged(10, 8, "SEQUENCE"));
    EXPECT_EQ(Query("SYST:CONF?"), "SEQ");

    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(WaitLamps("0x0"));
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");
}

// SEQ2 saved in 3P4W and recalled in 1P2W through its wiring dialog. The recall list left open by a remote
// exit is closed at the next entry.
TEST_F(SeqPageScenes, MemoryForAnotherWiring) {
    EnterSeq();
    Mark();
    Keys({"key [", "knob -2"});
    EXPECT_TRUE(WaitLogged(20, 50, "Save")) << TextLog();
    EXPECT_TRUE(WaitLogged(22, 40 + 50 + 36 * 2, "SEQ2"));
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(Popup("Saved to SEQ2")) << TextLog();
    Keys({"key Z"});
    Mark();
    SendLocal("SYST:CONF:MODE CONT");
    ASSERT_TRUE(WaitLogged(760, 31, "DISPLAY", true)) << "the wiring changes only on the home page";
    SendLocal("SYST:CONF:PHAS 1");
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "1P2W");
    EnterSeq();
    Mark();
    Keys({"key Z", "knob -2", "key U"});
    EXPECT_TRUE(WaitLogged(360, 40 + 150, "Configure Phase will be")) << TextLog();
    EXPECT_TRUE(WaitLogged(360, 40 + 190, "switch to 3P4W"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_wiring_dialog"), "");
    Mark();
    Keys({"key U", "key V", "key U"});  // the confirmation opens on NO
    // The recall prepares the sequence again (its held popup lasts only as long as the preparation).
    EXPECT_TRUE(Popup("Sequence is ready.", 30000)) << TextLog();
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "3P4W");
    Keys({"key L"});
}

// A cleared SEQ8 recalled from the list runs on the simulated stage, held and run again from the soft key:
// steps 0-6, Jump To step 1 while its count runs down, and the "END" of step 7; then the OUTPUT key
// switches the output off.
TEST_F(SeqPageScenes, ClearedSeq8RunsItsJumpsToItsEnd) {
    EnterSeq();
    EXPECT_EQ(Command("DATA:SEQ:CLE 8"), kNoError);
    ASSERT_TRUE(Sync());
    const size_t ready = Count("popup: Sequence is ready.\n");
    Keys({"key Z", "knob -6", "key U"});  // the list opens on SEQ2, the memory recalled last
    ASSERT_TRUE(c().WaitForOutput("popup: Recalled from SEQ8", 10000)) << c().Output();
    // The recall prepares the memory again, and its download selects step 0: a step chosen before then
    // would not stay chosen.
    ASSERT_TRUE(Shown("Sequence is ready.", ready + 1, 30000)) << c().Output();
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Field(Query("SEQ:STEP 6;:SEQ:CPAR?"), 8), "+10") << "the template's jump count";
    EXPECT_EQ(Command("SEQ:STEP 0"), kNoError);
    Keys({"key X", "key 92"});
    // HOLD and the run again from soft key 3.
    Keys({"key ["});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SEQ:COND?"), "+2");
    Keys({"key ["});
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Query("SEQ:COND?"), "+1");
    std::vector<std::string> counts;
    bool jumpedBack = false, ended = false;
    std::string last;
    // The run takes about 10 s; the bound leaves room for a loaded machine, the loop ends at the end seen.
    for (int waited = 0; waited < 120000 && !ended; waited += 100) {
        const std::string reply = Query("SEQ:CJUM:CNT?");
        const std::string step = Field(reply, 0), count = Field(reply, 1);
        if (last == "+6" && step == "+1") jumpedBack = true;
        if (counts.empty() || counts.back() != count) counts.push_back(count);
        ended = step == "+7" && Query("SEQ:COND?") == "+0";
        last = step;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(ended) << last;
    EXPECT_TRUE(jumpedBack);
    EXPECT_GE(counts.size(), 3u) << "the jump count runs down";
    // The panel's OUTPUT key switches the output off.
    Keys({"key X"});
    EXPECT_TRUE(WaitLamps("0x8")) << c().Output();
    EXPECT_EQ(Query("OUTP?"), "+0");
    EXPECT_EQ(Query("SYST:CONF:MODE CONT;:SYST:CONF?"), "CONT");
}

}  // namespace
