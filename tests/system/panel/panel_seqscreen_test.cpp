// The running controller's SEQUENCE page: the SEQ key's preparation and page, the field cursor by the knob,
// the RUN preview, SIMULATE and back, the memory lists, a save and the wiring dialog of its recall in
// another wiring, and the way home. SCPI messages end in ";:SYST:COMM:RLST LOC", so the panel stays local.
#include "tests/system/panel/fb_png.h"
#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelSeqScreen : public FrontPanelSuite {
  protected:
    static std::string Local(const std::string& m) { return m + ";:SYST:COMM:RLST LOC"; }
    // Waits until a text containing part was drawn since the mark.
    static bool WaitText(const std::string& part, int boundMs = 15000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (TextLogSinceMark().find(part) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static std::string Golden(const std::string& name) { return ScreenMatchesGolden(c().root(), c().workDir(), name); }
};

TEST_F(PanelSeqScreen, SequencePageFromEntryToHome) {
    Send(Local("MODE 0"));
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

    // The recall list.
    Mark();
    ASSERT_TRUE(Panel("key Z"));
    EXPECT_TRUE(WaitLogged(20, 50, "Recall")) << TextLog();
    EXPECT_TRUE(WaitText("SEQ9"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_recall_list"), "");
    // Closed by its key again; a save into SEQ2.
    Mark();
    ASSERT_TRUE(Panel("key Z"));
    EXPECT_TRUE(WaitLogged(10, 48, "Step")) << TextLog();
    // The RUN preview from position 1, left by key 96.
    Mark();
    ASSERT_TRUE(Panel("key _"));
    EXPECT_TRUE(WaitText(" RUN 1/")) << TextLog();
    EXPECT_TRUE(WaitLogged(760, 60 * 7 + 31, "Return"));
    Mark();
    ASSERT_TRUE(Panel("key 96"));
    EXPECT_TRUE(WaitLogged(710, 8, "STOP")) << TextLog();

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

    Mark();
    Keys({"key [", "knob -2"});
    EXPECT_TRUE(WaitLogged(20, 50, "Save")) << TextLog();
    EXPECT_TRUE(WaitLogged(22, 40 + 50 + 36 * 2, "SEQ2"));
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(WaitText("Saved to SEQ2")) << TextLog();
    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(WaitLamps("0x0"));
    EXPECT_EQ(Query("SYST:CONF?"), "CONT");

    // SEQ2 recalled in 1P2W: the wiring dialog names the stored wiring; its confirmation opens on NO.
    Send(Local("SYST:CONF:PHAS 1"));
    ASSERT_EQ(Query("SYST:CONF:PHAS?"), "1P2W");
    Mark();
    ASSERT_TRUE(Panel("key M"));
    EXPECT_TRUE(WaitText("Sequence is ready.")) << TextLog();
    Mark();
    Keys({"key Z", "knob -2", "key U"});
    EXPECT_TRUE(WaitLogged(360, 40 + 150, "Configure Phase will be")) << TextLog();
    EXPECT_TRUE(WaitLogged(360, 40 + 190, "switch to 3P4W"));
    ASSERT_TRUE(Sync());
    EXPECT_EQ(Golden("seqscreen_wiring_dialog"), "");
    Mark();
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(WaitText(" YES\n")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key U"));
    EXPECT_TRUE(WaitLogged(10, 48, "Step")) << TextLog();
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "1P2W") << "nothing recalled";
    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(WaitLamps("0x0"));
    Send(Local("SYST:CONF:PHAS 0"));
    EXPECT_EQ(Query("SYST:CONF:PHAS?"), "3P4W");
}

}  // namespace
