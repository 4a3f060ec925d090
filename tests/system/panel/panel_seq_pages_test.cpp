// The running controller in SEQUENCE (fresh root, model type 1: 3P4W, AC+DC-INT, 100 V): the SEQ key's
// page, its recall list and SIMULATE and back as the framebuffer shows them; the step editors write through
// the engine's setters and refuse what their fields cannot take, the SEQ memory list saves, and a memory
// stored for another wiring is recalled only after both confirmations of its wiring dialog. Keys follow the
// ready popup; every SCPI message ends by returning the panel to local.

#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class SeqPageScenes : public FrontPanelSuite {
  protected:
    // Field i of the step's common parameters: time, ON phase, its enable, OFF phase, its enable,
    // termination, Jump To, its enable, jump count, ...
    static std::string Cpar(size_t i) { return Field(Query("SEQ:CPAR?"), i); }
    // The popup's text, one line or two, since the mark.
    static bool Popup(const std::string& text, int boundMs = 10000) {
        return WaitLogged(365, text.find("\\n") == std::string::npos ? 190 : 175, text, false, boundMs);
    }
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
    static std::string Golden(const std::string& name) { return ScreenMatchesGolden(c().root(), c().workDir(), name); }
    static constexpr int kRunX = 710, kRunY = 8;
    static void Knob(int delta, int times) {
        for (int i = 0; i < times; ++i)
            ASSERT_TRUE(Panel("knob " + std::to_string(delta)));
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

TEST_F(SeqPageScenes, StepEditors) {
    EnterSeq();
    Keys({"key W", "knob 1", "key U", "key B", "key U"});  // step 1, Time: 2 s
    EXPECT_EQ(Cpar(0), "+2.0000");
    Keys({"key U", "key @", "key J", "key @", "key @", "key @", "key A", "key U"});
    EXPECT_EQ(Cpar(0), "+0.0001");
    Mark();
    Keys({"key U", "key @", "key J", "key @", "key @", "key @", "key @", "key D", "key U"});
    EXPECT_EQ(Cpar(0), "+0.0001") << "0.00004 is below the least time";
    EXPECT_FALSE(WaitLogged(365, 190, "", true, 500)) << "and refused without a popup";

    Keys({"knob 1", "knob 1", "key U", "key A", "key B", "key C", "key D", "key E", "key U"});  // Jump Cnt
    EXPECT_TRUE(Popup("Setting Jump Cnt\\n Limited")) << TextLog();
    EXPECT_EQ(Cpar(8), "+1") << "the default count kept";
    Keys({"key U", "key V", "key V", "key V", "knob 20", "key U"});
    EXPECT_EQ(Cpar(8), "+9999") << "the knob stops at the limit";
    Keys({"key U", "key A", "key B", "key M", "key M"});
    EXPECT_EQ(Cpar(8), "+9999") << "the SEQ key cancels the digits, then leaves without writing";

    Knob(1, 40);  // the last field, the L3 angle; back to the L1 OFF-phase enable
    Knob(-1, 4);
    Keys({"key U", "key Y", "key U"});
    EXPECT_EQ(Cpar(4), "+1") << "OFF phase Fixed";
    Keys({"knob 1", "key U", "key A", "key B", "key C", "key J", "key D", "key U"});
    EXPECT_EQ(Cpar(3), "+123.4");
    Keys({"key U", "key A", "key B", "key Z", "key U"});
    EXPECT_EQ(Cpar(3), "+90.0") << "a soft key after the digits wins";
    SendLocal("SEQ:SPAR 0,CONST,0,CONST,600,CONST,SIN,0");
    EXPECT_EQ(Query("SYST:ERR?"), "+0,\"No error\"");
    Keys({"key U", "key A", "key B", "key C", "key J", "key D", "key U"});
    EXPECT_EQ(Cpar(3), "+123.0") << "whole degrees above 500 Hz";
    Mark();
    Keys({"key U", "key C", "key E", "key I", "key J", "key E", "key U"});
    EXPECT_TRUE(Popup("Setting Phase Limited")) << TextLog();
    EXPECT_EQ(Cpar(3), "+123.0");
    Keys({"key L"});
}

// SEQ2 saved in 3P4W; in 1P2W its recall gives up in the second dialog and then goes on. The recall list
// left open by a remote exit is closed at the next entry.
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
    const std::string spar = Query("SEQ:SPAR?");
    Mark();
    Keys({"key Z", "knob -2", "key U"});
    EXPECT_TRUE(WaitLogged(360, 40 + 150, "Configure Phase will be")) << TextLog();
    EXPECT_TRUE(WaitLogged(360, 40 + 190, "switch to 3P4W"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_wiring_dialog"), "");
    Mark();
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(WaitText(" YES\n")) << TextLog();  // the confirmation opens on NO
    ASSERT_TRUE(Panel("key U"));
    EXPECT_EQ(Query("SEQ:SPAR?"), spar);
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "1P2W") << "nothing recalled";
    Mark();
    Keys({"key Z", "key U", "key U", "key V", "key U"});
    // The recall prepares the sequence again (its held popup lasts only as long as the preparation).
    EXPECT_TRUE(Popup("Sequence is ready.", 30000)) << TextLog();
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "3P4W");
    Keys({"key L"});
}

// The RUN preview from soft key 7 along a three-step program; key 96 back to the step index.
TEST_F(SeqPageScenes, RunPreview) {
    EnterSeq();
    SendLocal("SEQ:STEP 2;:SEQ:CPAR 0.1,0,0,0,0,END,0,0,1,0,0,0,0,0,0");
    EXPECT_EQ(Cpar(5), "END");
    SendLocal("SEQ:STEP 0");
    Mark();
    Keys({"key _"});
    EXPECT_TRUE(WaitLogged(kRunX, kRunY, "RUN 1/3 Step 0")) << TextLog();
    Keys({"key W", "key W"});
    EXPECT_TRUE(WaitLogged(kRunX, kRunY, "RUN 3/3 Step 2")) << TextLog();
    EXPECT_EQ(Query("SEQ:CST?"), "+2");
    Keys({"key U", "key A", "key U"});
    EXPECT_TRUE(WaitLogged(kRunX, kRunY, "RUN 1/3 Step 0")) << TextLog();
    Keys({"key 96"});
    EXPECT_EQ(Query("SEQ:CST?"), "+0");
    Keys({"key L"});
}

}  // namespace
