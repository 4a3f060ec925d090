// The SEQUENCE/SIMULATE page on the framebuffer, driven through its page operations: the preparation
// stage it counts, the SIM request it raises and drops, and what the text log and the pixels show of its
// fields, memory lists, dialogs and previews.
#include "screens/seqsim/page/seqsim_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seq/seq_preview.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_setters.h"
#include "panel/menu/dialog_words.h"
#include "panel/pages/text_log.h"
#include "platform/host/root.h"
#include "screens/seqsim/page/seqsim_paint.h"
#include "screens/seqsim/seqsim_words.h"
#include "tests/GUI/screen_fixture.h"
#include "tests/screens/screen_text.h"
#include "tests/support/default_store.h"

namespace {

using seqsim::RowScreenX;
using seqsim::RowScreenY;

using screentext::KeyY;
using screentext::Pixel;

class SeqSimScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        guitest::FreshScreen();
        test::FreshStore(1);
        SetOutputMode(0);  // AC+DC-INT, 3P4W
        engine::SeqSimDataReset();
        SeqSimSelectTables();
        SeqMem_ResetToSlotDefaults(0);
        SeqSimSetMode(1);
        SeqPrepStage.store(kSeqPrepIdle);
        SeqScreenReady.store(0);
        log_ = plat::MapPath("/var/log/seqsim-text.log");
        std::remove(log_.c_str());
        ASSERT_EQ(TextLog_Start(log_), 0);
        Open(333);
    }
    void TearDown() override {
        EXPECT_TEXTS_WHOLE();
        TextLog_Stop();
        EXPECT_EQ(screentext::MixedColumns(Log()), "") << "columns of mixed alignment";
        SeqSimScreen_Hide();
        g_MenuState.store(0);
        g_PageId.store(0);
        engine::SeqSimDataReset();
    }
    // The page entered with the page id and menu state given, as the page manager enters it.
    void Open(uint32_t id) {
        g_MenuState.store(id);
        g_PageId.store(id);
        SeqSimScreen_Create();
        SeqSimScreen_Enter();
        SeqSimScreen_Show();
        WM_Run();
    }
    void Step(uint32_t state, int updates = 1) {
        g_MenuState.store(state);
        for (int i = 0; i < updates; ++i) {
            SeqSimScreen_Update();
            WM_Run();
        }
    }
    void Mark() { mark_ = Log().size(); }
    std::string Since() const { return Log().substr(mark_); }
    std::string Log() const { return screentext::ReadText(log_); }
    bool Drawn(int x, int y, const std::string& text, const char* colour = nullptr) const {
        return screentext::Logged(Since(), x, y, text, colour);
    }
    // Whether a label is drawn on row i (screen position of its text).
    bool RowLabel(int i, const std::string& label) const {
        return Drawn(RowScreenX(i) + 2, RowScreenY(i) + 2, label);
    }
    std::string log_;
    size_t mark_ = 0;
};

// A page drawn over another leaves none of its pixels, on both of its modes.
TEST_F(SeqSimScreen, EveryPixelOfThePageIsPainted) {
    std::vector<int> left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "SEQUENCE: " << guitest::Describe(left);
    SeqSimScreen_Hide();
    Sim_LoadDefaultSteps();
    SeqSimSetMode(2);
    Open(463);
    left = guitest::UnpaintedPixels();
    EXPECT_TRUE(left.empty()) << "SIMULATE: " << guitest::Describe(left);
}

TEST_F(SeqSimScreen, PreparationCountsToTheDownloadStage) {
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepRequested);
    for (uint32_t stage = 1; stage <= 5; ++stage) {
        EXPECT_EQ(SeqScreenReady.load(), 0u) << stage;
        Step(333);
        EXPECT_EQ(SeqPrepStage.load(), stage);
    }
    EXPECT_EQ(SeqScreenReady.load(), 1u);
    Step(333, 3);
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepDownload) << "the download stage is the preparation step's";
    // A recall asks again while the page is shown: the count starts over; so does an entry that found the
    // page still showing SEQUENCE.
    SeqPrepStage.store(kSeqPrepRequested);
    Step(333);
    EXPECT_EQ(SeqPrepStage.load(), 1u);
    SeqPrepStage.store(kSeqPrepEntered);
    Step(333);
    EXPECT_EQ(SeqPrepStage.load(), 1u);
    // Hiding gives up a preparation under way, but keeps one asked for meanwhile.
    SeqSimScreen_Hide();
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepIdle);
    SeqPrepStage.store(kSeqPrepRequested);
    SeqSimScreen_Hide();
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepRequested);
}

TEST_F(SeqSimScreen, ChangingThePageIdSwitchesTheMode) {
    Step(333, 2);
    EXPECT_EQ(SimPrepRequest.load(), 0u);
    Mark();
    g_PageId.store(463);  // SEQUENCE's soft key 1
    SeqSimSetMode(2);
    Step(463);
    EXPECT_EQ(SimPrepRequest.load(), 1u);
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepIdle) << "the SEQUENCE preparation was left";
    EXPECT_TRUE(Drawn(10, 8, "SIMULATE")) << Log();
    EXPECT_TRUE(Drawn(250, 8, "Initial"));
    Mark();
    g_PageId.store(333);  // SIMULATE's soft key 1
    SeqSimSetMode(1);
    Step(333);
    EXPECT_EQ(SimPrepRequest.load(), 0u);
    EXPECT_EQ(SeqPrepStage.load(), 1u) << "entered afresh and counted once";
    EXPECT_EQ(SeqScreenReady.load(), 0u);
    EXPECT_TRUE(Drawn(10, 8, "SEQUENCE"));
    SimPrepRequest.store(1);
    g_PageId.store(463);
    Step(463);
    SeqSimScreen_Hide();
    EXPECT_EQ(SimPrepRequest.load(), 0u) << "hiding the SIMULATE page drops its request";
}

TEST_F(SeqSimScreen, FieldsOfTheStepAndTheSelection) {
    EXPECT_TRUE(Drawn(10, 8, "SEQUENCE", "0xFFFF")) << Log();
    EXPECT_TRUE(Drawn(250, 8, "Step 000"));
    EXPECT_TRUE(Drawn(710, 8, "STOP"));
    // Step 0 in 3P4W AC+DC: no jump or branch fields; then the phase fields in the knob's order.
    const char* rows[] = {"Step", "Time", "Sync Code", "ACV L1", "ACV Mode L1", "ACV L2"};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(RowLabel(i, rows[i])) << i << Log();
    EXPECT_EQ(Log().find("Jump To En"), std::string::npos);
    EXPECT_TRUE(RowLabel(14, "DCV Mode L3"));
    EXPECT_TRUE(Drawn(247, 48, "Fset L2")) << "row 17 begins the second column";
    EXPECT_TRUE(Drawn(RowScreenX(1) + 178, RowScreenY(1) + 2, "0.1000")) << "the default step's 0.1 s";
    EXPECT_TRUE(Drawn(RowScreenX(1) + 182, RowScreenY(1) + 2, "s"));
    std::vector<uint16_t> s = guitest::Screen();
    const uint16_t selectMiddle = s[static_cast<size_t>(RowScreenY(0) + 10) * 800 + RowScreenX(0) + 100];
    EXPECT_NE(s[static_cast<size_t>(RowScreenY(1) + 10) * 800 + RowScreenX(1) + 100], selectMiddle)
        << "only the step index carries the select bar";

    // The knob's next field: Time selected, the step index plain again.
    Step(335);
    s = guitest::Screen();
    EXPECT_EQ(s[static_cast<size_t>(RowScreenY(1) + 10) * 800 + RowScreenX(1) + 100], selectMiddle);
    EXPECT_NE(s[static_cast<size_t>(RowScreenY(0) + 10) * 800 + RowScreenX(0) + 100], selectMiddle);
    guitest::ExpectGolden("seqsim_time_selected", GUI_BOX{0, 0, 799, 479});

    // Step 1 shows the step-wide fields of a program step.
    Mark();
    SeqSetCurStep(1);
    Step(333);
    EXPECT_TRUE(Drawn(250, 8, "Step 001"));
    EXPECT_TRUE(RowLabel(2, "Jump To En")) << Log();
    EXPECT_TRUE(RowLabel(3, "Jump Cnt"));
}

// The sync code is shown as its pair of trigger output levels.
TEST_F(SeqSimScreen, SyncCodeShowsItsLevels) {
    const struct {
        int32_t code;
        uint32_t state;  // a selection change repaints the row
        const char* text;
    } cases[] = {{1, 369, "LH"}, {2, 333, "HL"}};
    for (const auto& c : cases) {
        SeqSetSyncCode(c.code);
        Mark();
        Step(c.state);
        EXPECT_TRUE(Drawn(RowScreenX(2) + 178, RowScreenY(2) + 2, c.text)) << c.text << Log();
    }
}

TEST_F(SeqSimScreen, EditedValueWithItsCursorAndTypedDigits) {
    g_EditShown.workValue = 20000;  // 2.0000 s
    g_EditShown.cursor = 2;
    g_EditShown.buf.entryLength = 0;
    Mark();
    Step(336);
    EXPECT_TRUE(Log().find(" 0xFFE0 Font16a 2.0000\n") != std::string::npos) << "yellow edited value" << Log();
    guitest::ExpectGolden("seqsim_time_edited", GUI_BOX{0, 40, 239, 130});
    std::memcpy(g_EditShown.buf.entryText, "12.5", 4);
    g_EditShown.buf.entryLength = 4;
    Mark();
    Step(336);
    EXPECT_TRUE(Drawn(RowScreenX(1) + 178, RowScreenY(1) + 2, "12.5")) << Log();
    g_EditShown.buf.entryLength = 0;
}

TEST_F(SeqSimScreen, MemoryListDialogsAndKeys) {
    EXPECT_TRUE(Drawn(760, KeyY(0, 1), "SIMULATE")) << Log();
    EXPECT_TRUE(Drawn(760, KeyY(1, 1), "Recall"));
    EXPECT_TRUE(Drawn(760, KeyY(5, 2), "Step\\nPreview"));

    g_SeqSimSlots.seq = 4;
    g_SeqSimBlock[0].panelFlags.store(kSeqPanelRecallOpen);
    g_EditShown.workValue = 2;
    Mark();
    Step(434);
    EXPECT_TRUE(Drawn(20, 50, "Recall")) << Log();
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(Log().find(i == 4 ? "SEQ4 *\n" : "SEQ" + std::to_string(i) + "\n") != std::string::npos) << i;
    EXPECT_TRUE(Drawn(22, 40 + 50 + 36 * 2, "SEQ2", "0x0000")) << "the chosen slot, black on its bar";
    Mark();
    g_EditShown.workValue = 3;
    Step(434);
    EXPECT_TRUE(Drawn(22, 40 + 50 + 36 * 3, "SEQ3", "0x0000")) << Log();

    // The wiring dialog names the stored wiring: SEQ2 saved in 1P2W.
    SetPhaseMode(1);
    g_SeqSimBlock[0].seqSaveSlot = 2;
    ASSERT_GE(SeqMem_Save(2), 1);
    SetPhaseMode(0);
    g_SeqSimBlock[0].seqRecallSlot = 2;
    g_DialogChoice.store(0);
    Mark();
    Step(330);  // its buttons have their own test
    EXPECT_TRUE(Drawn(360, 40 + 190, "switch to 1P2W")) << Log();
    EXPECT_FALSE(Drawn(760, KeyY(1, 1), "Recall")) << "no soft keys under a dialog";
}

TEST_F(SeqSimScreen, PreviewsDrawTheMaskedTraces) {
    SeqBuildPreview();
    g_SeqPreview.position = 1;
    g_SeqSimBlock[0].previewTraceMask.store(1);
    Mark();
    Step(436);
    char run[48];
    std::snprintf(run, sizeof run, "RUN 1/%u Step %u", g_SeqPreview.count, g_SeqPreview.order[0]);
    EXPECT_TRUE(Drawn(710, 8, run)) << Log();
    EXPECT_TRUE(Drawn(760, KeyY(7, 1), "Return"));
    const int y0 = seqsim::kBodyTop + seqsim::kGraphY0, y1 = seqsim::kBodyTop + seqsim::kGraphY1;
    // Pixels of phase p's trace colour inside the graph's frame.
    const auto traced = [&](int p) {
        return screentext::CountIn(guitest::Screen(), Pixel(seqsim::kTraceColour[p]), seqsim::kGraphX0 + 1,
                                   y0 + 1, seqsim::kGraphX1 - 1, y1 - 1);
    };
    EXPECT_GT(traced(0), 100);
    EXPECT_EQ(traced(1), 0);

    // The step preview: L2 and L3 only.
    SeqSetAcv(10000, 1);
    SeqSetAcv(10000, 2);
    g_SeqSimBlock[0].previewTraceMask.store(6);
    g_EditShown.workValue = 1;
    Step(435);
    EXPECT_EQ(traced(0), 0);
    EXPECT_GT(traced(1), 100);
    EXPECT_GT(traced(2), 100);
}

TEST_F(SeqSimScreen, SimulatePageShowsTheStateAndItsFields) {
    SeqSimScreen_Hide();
    SeqPrepStage.store(kSeqPrepIdle);
    Sim_LoadDefaultSteps();
    SeqSimSetMode(2);
    SimPrepRequest.store(0);
    Mark();
    Open(463);
    EXPECT_EQ(SimPrepRequest.load(), 1u) << "entering the SIMULATE page asks for its download";
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepIdle) << "the SEQUENCE preparation is not started";
    EXPECT_TRUE(Drawn(10, 8, "SIMULATE")) << Log();
    EXPECT_TRUE(Drawn(250, 8, "Initial"));
    // Initial: no time; repeat count only with the repeat enabled.
    const char* rows[] = {"State", "Sync Code", "Repeat En", "ACV L1", "Freq L1", "ON En L1", "OFF En L1"};
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(RowLabel(i, rows[i])) << i << Log();
    EXPECT_EQ(Since().find(" Time\n"), std::string::npos);
    EXPECT_TRUE(Drawn(760, KeyY(0, 1), "SEQUENCE"));
    EXPECT_FALSE(Drawn(760, KeyY(5, 2), "Step\\nPreview")) << "no previews in SIMULATE";
    guitest::ExpectGolden("seqsim_sim_initial", GUI_BOX{0, 0, 799, 479});

    // Trans1 has its time and ends at the repeat fields.
    Mark();
    SeqSimSetCurStep(2);
    Step(463);
    EXPECT_TRUE(Drawn(250, 8, "Trans1"));
    EXPECT_TRUE(RowLabel(1, "Time")) << Log();
    EXPECT_EQ(Since().find("ACV L1"), std::string::npos);

    // A remote write showed an L3 field: its row joins while it is selected.
    Mark();
    SeqSimSetCurStep(1);
    Step(461);
    EXPECT_NE(Since().find(" ACV L3\n"), std::string::npos) << Log();
}

TEST_F(SeqSimScreen, RedrawRequestsAndTheVppUnit) {
    Step(333);
    Mark();
    Step(333);
    EXPECT_FALSE(RowLabel(0, "Step")) << "nothing changed, nothing repainted";
    g_SeqSimScreen.fieldRedraw[1].store(1);
    Step(333);
    EXPECT_TRUE(RowLabel(0, "Step")) << "the field request repaints the rows";
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[1].load(), 0u) << "and is cleared";
    Mark();
    g_SeqSimScreen.acvUnitRedraw.store(1);
    Step(333);
    EXPECT_TRUE(RowLabel(3, "ACV L1"));
    EXPECT_EQ(g_SeqSimScreen.acvUnitRedraw.load(), 0u);

    // A TRI step with the ACV unit Vpp shows its voltage in Vpp.
    SetAcvUnit(1);
    g_SeqSimBlock[0].seqTable[0][0].wave = kWaveTri;
    Mark();
    Step(333);
    EXPECT_TRUE(Drawn(RowScreenX(3) + 182, RowScreenY(3) + 2, "Vpp")) << Since();
    EXPECT_TRUE(Drawn(RowScreenX(5) + 182, RowScreenY(5) + 2, "V")) << "L2 stays SIN in Vrms";
    SetAcvUnit(0);
}

// The focused button's text is white, the other's black: which button a dialog's choice focuses.
TEST_F(SeqSimScreen, DialogChoicesFocusTheirButtons) {
    struct Case {
        uint32_t state;
        uint32_t dialogChoice;
        int32_t workValue;
        const char* white;
        const char* line1;
    } cases[] = {
        {330, 0, 0, "ENTER", "Configure Phase will be"},  // 0 goes on
        {330, 1, 0, "CANCEL", "Configure Phase will be"},
        {331, 0, 1, "NO", "Configure Phase will be"},  // the working value: 0 YES
        {332, 1, 0, "ENTER", "Voltage Range will be"},  // 1 goes on
        {332, 0, 0, "CANCEL", "Voltage Range will be"},
        {438, 1, 0, "ENTER", "Configure Phase will be"},
        {439, 0, 0, "YES", "Configure Phase will be"},
    };
    for (const Case& c : cases) {
        Step(333);
        g_DialogChoice.store(c.dialogChoice);
        g_EditShown.workValue = c.workValue;
        Mark();
        Step(c.state);
        EXPECT_TRUE(Drawn(360, 40 + 150, c.line1)) << c.state << Since();
        EXPECT_NE(Since().find(std::string(" 0xFFFF Font16a ") + c.white + "\n"), std::string::npos)
            << c.state << " " << c.white << Since();
    }
}

}  // namespace
