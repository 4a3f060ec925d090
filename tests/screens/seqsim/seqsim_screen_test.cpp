// The SEQUENCE/SIMULATE page on the framebuffer, driven through its page operations: the preparation
// stage it counts, the SIM request it raises and drops, and what the text log and the pixels show of its
// fields, memory lists, dialogs and previews.
#include "screens/seqsim/page/seqsim_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
#include "engine/seq/seq_access.h"
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

constexpr GUI_BOX kAll{0, 0, 799, 479};

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

// The picture pins the rows of step 0 in 3P4W AC+DC (no jump or branch fields), their values and the
// select bar on the knob's field; step 1's own fields are in the field table below.
TEST_F(SeqSimScreen, FieldsOfTheStepAndTheSelection) {
    Step(335);
    guitest::ExpectGolden("seqsim_time_selected", GUI_BOX{0, 0, 799, 479});
    EXPECT_TRUE(Drawn(247, 48, "Fset L2")) << "row 17 begins the second column";
}

TEST_F(SeqSimScreen, EditedValueWithItsCursorAndTypedDigits) {
    g_EditShown.workValue = 20000;  // 2.0000 s
    g_EditShown.cursor = 2;
    g_EditShown.buf.entryLength = 0;
    Step(336);
    guitest::ExpectGolden("seqsim_time_edited", GUI_BOX{0, 40, 239, 130});
    std::memcpy(g_EditShown.buf.entryText, "12.5", 4);
    g_EditShown.buf.entryLength = 4;
    Step(336);
    guitest::ExpectGolden("seqsim_time_typed", GUI_BOX{0, 40, 239, 130});
    g_EditShown.buf.entryLength = 0;
}

TEST_F(SeqSimScreen, MemoryListDialogsAndKeys) {
    g_SeqSimSlots.seq = 4;
    g_SeqSimBlock[0].panelFlags.store(kSeqPanelRecallOpen);
    g_EditShown.workValue = 2;
    Step(434);
    // SEQ4 marked as the memory in use, the chosen slot black on its bar.
    guitest::ExpectGolden("seqsim_recall_list", GUI_BOX{0, 40, 719, 479});
    // Each slot with its memory's name; the last slot can be chosen too.
    for (int i = 0; i < 10; ++i) std::snprintf(g_SeqMemName[i], sizeof g_SeqMemName[i], "name%d", i);
    g_EditShown.workValue = 9;
    Step(434);
    guitest::ExpectGolden("seqsim_recall_names", GUI_BOX{0, 40, 719, 479});

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

// The previews draw the traces of the phases their mask holds: the RUN preview L1 with its position in
// the order, the step preview L2 and L3 only.
TEST_F(SeqSimScreen, PreviewsDrawTheMaskedTraces) {
    SeqBuildPreview();
    g_SeqPreview.position = 1;
    g_SeqSimBlock[0].previewTraceMask.store(1);
    Step(436);
    guitest::ExpectGolden("seqsim_run_preview_l1", kAll);
    SeqSetAcv(10000, 1);
    SeqSetAcv(10000, 2);
    g_SeqSimBlock[0].previewTraceMask.store(6);
    g_EditShown.workValue = 1;
    Step(435);
    guitest::ExpectGolden("seqsim_step_preview_l2_l3", kAll);
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
    // Initial: no time; repeat count only with the repeat enabled; no previews.
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
    g_SeqSimBlock[0].seqTable[0][0].wave = kWaveCodeTri;
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

// The soft keys of each situation of the page: label, and whether the key is taken (black text) or not
// (white); a trace or list key that is on shows the pressed face, one that is off the plain face.
TEST_F(SeqSimScreen, SoftKeysOfEachSituation) {
    struct Case {
        const char* golden;
        uint32_t outputMode, wiring, state, mask;
        uint8_t runFlags;
    } cases[] = {
        {"seqsim_keys_step_preview_3p4w", 0, 0, 435, 5, 0}, {"seqsim_keys_step_preview_1p2w", 0, 1, 435, 5, 0},
        {"seqsim_keys_run_preview_3p4w", 0, 0, 436, 2, 0},  {"seqsim_keys_run_preview_1p3w", 0, 2, 436, 2, 0},
        {"seqsim_keys_position_typed", 0, 0, 437, 7, 0},    {"seqsim_keys_fields_ac_int", 1, 0, 333, 0, 0},
        {"seqsim_keys_running", 0, 0, 333, 0, kRunFlagRunning},
        {"seqsim_keys_held", 0, 0, 333, 0, kRunFlagRunning | kRunFlagPaused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        SetOutputMode(c.outputMode);
        SetPhaseMode(c.wiring);
        g_SeqSimBlock[0].previewTraceMask.store(c.mask);
        g_SeqSimBlock[0].flags.store(c.runFlags);
        if (c.state == 436) SeqBuildPreview();
        Step(330);  // a dialog has no keys: every key of the case is painted afresh
        Step(c.state);
        guitest::ExpectGolden(c.golden, GUI_BOX{720, 0, 799, 479});
    }
    g_SeqSimBlock[0].flags.store(0);
    SetOutputMode(0);
    SetPhaseMode(0);
}

// The title's run state, and what the previews write above their graph.
TEST_F(SeqSimScreen, RunStateAndPreviewTexts) {
    const struct {
        uint8_t flags;
        const char* text;
        const char* colour;
    } runs[] = {{kRunFlagRunning, "RUN", "0x07E0"}, {kRunFlagRunning | kRunFlagPaused, "HOLD", "0xFFFF"},
                {0, "STOP", "0xFFFF"}};
    for (const auto& r : runs) {
        g_SeqSimBlock[0].flags.store(r.flags);
        Mark();
        Step(335);
        Step(333);
        EXPECT_TRUE(Drawn(710, 8, r.text, r.colour)) << r.text << Since();
    }
    // The step preview draws one cycle on choice 1, two on choice 0; the RUN preview shows the position
    // only while one is typed.
    for (int32_t choice : {1, 0}) {
        g_EditShown.workValue = choice;
        Step(435);
        guitest::ExpectGolden(choice == 1 ? "seqsim_step_preview_1_cycle" : "seqsim_step_preview_2_cycles", kAll);
    }
    SeqBuildPreview();
    g_SeqPreview.position = 1;
    g_EditShown.workValue = 1;
    Step(436);
    guitest::ExpectGolden("seqsim_run_preview", kAll);
    g_EditShown.workValue = 3;
    g_EditShown.cursor = 0;
    Step(437);
    guitest::ExpectGolden("seqsim_run_preview_position", kAll);
}

// The RUN preview traces the DC voltage in the DC kind and the AC voltage otherwise: a step order of a
// positive DC voltage and no AC voltage lies above the zero line only in the DC kind.
TEST_F(SeqSimScreen, RunPreviewTracesTheKindsVoltage) {
    for (uint32_t kind : {2u, 0u}) {
        SCOPED_TRACE(kind);
        SetOutputMode(kind);
        SeqSimSelectTables();
        for (int s = 0; s < 1000; ++s) {
            g_SeqSimBlock[0].seqTable[kind][s].acv = 0;
            g_SeqSimBlock[0].seqTable[kind][s].dcv = 5000;
        }
        SeqBuildPreview();
        ASSERT_GT(g_SeqPreview.count, 0u);
        g_SeqPreview.position = 1;
        g_SeqSimBlock[0].previewTraceMask.store(1);
        Step(333);
        Step(436);
        guitest::ExpectGolden(kind == 2 ? "seqsim_run_preview_dc" : "seqsim_run_preview_ac_dc", kAll);
    }
    SetOutputMode(0);
}

// One row of a field table as the page shows it: the field's selection and edit states, its label, its
// value (raw, as the getter and the edit word hold it, and as written) and unit, and the row it takes.
struct FieldRow {
    uint32_t sel, edit;
    const char* label;
    int32_t raw;
    const char* text;
    const char* unit;
    int row;
};

class SeqSimFieldTable : public SeqSimScreen {
  protected:
    // The field's selection state selects its row (black on the bar), its edit state marks the value being
    // edited (yellow), each at the row's place with its value and unit.
    void ExpectRows(const FieldRow* rows, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const FieldRow& r = rows[i];
            SCOPED_TRACE(r.label);
            const int x = RowScreenX(r.row), y = RowScreenY(r.row) + 2;
            Mark();
            Step(r.sel);
            EXPECT_TRUE(Drawn(x + 2, y, r.label, "0x0000")) << Since();
            EXPECT_TRUE(Drawn(x + 178, y, r.text, "0x0000"));
            if (r.unit[0] != '\0') {
                EXPECT_TRUE(Drawn(x + 182, y, r.unit, "0x0000"));
            }
            g_EditShown.workValue = r.raw;
            g_EditShown.cursor = 0;
            Mark();
            Step(r.edit);
            EXPECT_TRUE(Drawn(x + 2, y, r.label, "0xFFFF")) << Since();
            EXPECT_TRUE(Drawn(x + 178, y, r.text, "0xFFE0"));
        }
    }
    // What an edit state shows of each working value given: a field's vocabulary.
    void ExpectWords(uint32_t edit, int row, const std::vector<std::pair<int32_t, const char*>>& words) {
        for (const auto& [raw, text] : words) {
            SCOPED_TRACE(text);
            g_EditShown.workValue = raw;
            Mark();
            Step(edit);
            EXPECT_TRUE(Drawn(RowScreenX(row) + 178, RowScreenY(row) + 2, text, "0xFFE0")) << Since();
        }
    }
};

// Step 1 of a 3P4W AC+DC sequence with every enable on and every wave SQU shows every field of the step.
TEST_F(SeqSimFieldTable, EverySequenceField) {
    SeqSetCurStep(1);
    ASSERT_EQ(SeqSetTime(12345), 12345);
    SeqSetEnJumpto(1);
    ASSERT_EQ(SeqSetJumpto(7), 7);
    ASSERT_EQ(SeqSetJumpCnt(42), 42);
    SeqSetEnBranch1(1);
    ASSERT_EQ(SeqSetBranch1(8), 8);
    SeqSetEnBranch2(1);
    ASSERT_EQ(SeqSetBranch2(9), 9);
    SeqSetTerm(2);
    SeqSetSyncCode(3);
    const int32_t acvMode[] = {0, 1, 2}, dcvMode[] = {2, 0, 1}, fsetMode[] = {1, 2, 0};
    for (int p = 0; p < 3; ++p) {
        ASSERT_EQ(SeqSetAcv(5011 + 1011 * p, p), 5011 + 1011 * p);
        ASSERT_EQ(SeqSetDcv(1101 + 101 * p, p), 1101 + 101 * p);
        ASSERT_EQ(SeqSetFset(5511 + 111 * p, p), 5511 + 111 * p);
        SeqSetAcvMode(acvMode[p], p);
        SeqSetDcvMode(dcvMode[p], p);
        SeqSetFsetMode(fsetMode[p], p);
        SeqSetWave(kWaveCodeSqu, p, 1);
        ASSERT_EQ(SeqSetDuty(251 + 101 * p, p, 999, 1), 251 + 101 * p);
        SeqSetEnOnPhase(1, p);
        ASSERT_EQ(SeqSetOnPhase(101 * (p + 1), p), 101 * (p + 1));
        SeqSetEnOffPhase(1, p);
        ASSERT_EQ(SeqSetOffPhase(1111 * (p + 1), p), 1111 * (p + 1));
    }
    ASSERT_EQ(SeqSetBalance_L2(1201), 1201);
    ASSERT_EQ(SeqSetBalance_L3(2402), 2402);
    const FieldRow rows[] = {
        {333, 334, "Step", 1, "001", "", 0},
        {335, 336, "Time", 12345, "1.2345", "s", 1},
        {365, 366, "Jump To En", 1, "ON", "", 2},
        {363, 364, "Jump To", 7, "007", "", 3},
        {367, 368, "Jump Cnt", 42, "42", "", 4},
        {373, 374, "Branch1 En", 1, "ON", "", 5},
        {371, 372, "Branch1", 8, "008", "", 6},
        {377, 378, "Branch2 En", 1, "ON", "", 7},
        {375, 376, "Branch2", 9, "009", "", 8},
        {361, 362, "Step Term", 2, "HOLD", "", 9},
        {369, 370, "Sync Code", 3, "HH", "", 10},
        {393, 396, "ACV L1", 5011, "50.11", "V", 11},
        {399, 402, "ACV Mode L1", 0, "CT", "", 12},
        {394, 397, "ACV L2", 6022, "60.22", "V", 13},
        {400, 403, "ACV Mode L2", 1, "KP", "", 14},
        {395, 398, "ACV L3", 7033, "70.33", "V", 15},
        {401, 404, "ACV Mode L3", 2, "SP", "", 16},
        {405, 408, "DCV L1", 1101, "11.01", "V", 17},
        {411, 414, "DCV Mode L1", 2, "SP", "", 18},
        {406, 409, "DCV L2", 1202, "12.02", "V", 19},
        {412, 415, "DCV Mode L2", 0, "CT", "", 20},
        {407, 410, "DCV L3", 1303, "13.03", "V", 21},
        {413, 416, "DCV Mode L3", 1, "KP", "", 22},
        {381, 384, "Fset L1", 5511, "55.11", "Hz", 23},
        {387, 390, "Fset Mode L1", 1, "KP", "", 24},
        {382, 385, "Fset L2", 5622, "56.22", "Hz", 25},
        {388, 391, "Fset Mode L2", 2, "SP", "", 26},
        {383, 386, "Fset L3", 5733, "57.33", "Hz", 27},
        {389, 392, "Fset Mode L3", 0, "CT", "", 28},
        {421, 424, "Wave L1", kWaveCodeSqu, "SQU", "", 29},
        {427, 430, "Duty L1", 251, "25.1", "%", 30},
        {422, 425, "Wave L2", kWaveCodeSqu, "SQU", "", 31},
        {428, 431, "Duty L2", 352, "35.2", "%", 32},
        {423, 426, "Wave L3", kWaveCodeSqu, "SQU", "", 33},
        {429, 432, "Duty L3", 453, "45.3", "%", 34},
        {343, 346, "ON En L1", 1, "Fixed", "", 35},
        {337, 340, "ON Phase L1", 101, "10.1", "deg", 36},
        {344, 347, "ON En L2", 1, "Fixed", "", 37},
        {338, 341, "ON Phase L2", 202, "20.2", "deg", 38},
        {345, 348, "ON En L3", 1, "Fixed", "", 39},
        {339, 342, "ON Phase L3", 303, "30.3", "deg", 40},
        {355, 358, "OFF En L1", 1, "Fixed", "", 41},
        {349, 352, "OFF Phase L1", 1111, "111.1", "deg", 42},
        {356, 359, "OFF En L2", 1, "Fixed", "", 43},
        {350, 353, "OFF Phase L2", 2222, "222.2", "deg", 44},
        {357, 360, "OFF En L3", 1, "Fixed", "", 45},
        {351, 354, "OFF Phase L3", 3333, "333.3", "deg", 46},
        {417, 418, "Phase L2", 1201, "120.1", "deg", 47},
        {419, 420, "Phase L3", 2402, "240.2", "deg", 48},
    };
    ExpectRows(rows, std::size(rows));
    EXPECT_FALSE(screentext::AnythingAt(Since(), RowScreenX(49) + 2, RowScreenY(49) + 2)) << "49 fields";

    // The words of the coded fields, as their editors step through them.
    ExpectWords(424, 29, {{1, "ARB1"}, {16, "ARB16"}, {17, "SIN"}, {18, "SQU"}, {19, "TRI"}, {20, "ARB17"},
                          {256, "ARB253"}});
    ExpectWords(362, 9, {{0, "CONT"}, {1, "END"}, {2, "HOLD"}, {3, "?"}});
    ExpectWords(370, 10, {{0, "LL"}, {1, "LH"}, {2, "HL"}, {3, "HH"}, {4, "?"}});
    ExpectWords(402, 12, {{0, "CT"}, {1, "KP"}, {2, "SP"}});
    ExpectWords(346, 35, {{0, "Free"}, {1, "Fixed"}});
    ExpectWords(366, 2, {{0, "OFF"}, {1, "ON"}});
}

// Normal1 of a 3P4W simulation with the repeat and every ON/OFF phase enabled: the L1 fields the knob
// visits, and each L2/L3 field, the wave and the angles with the fields the knob reaches from it.
TEST_F(SeqSimFieldTable, EverySimulateField) {
    SeqSimScreen_Hide();
    SeqPrepStage.store(kSeqPrepIdle);
    Sim_LoadDefaultSteps();
    SeqSimSetMode(2);
    Open(463);
    SeqSimSetCurStep(1);
    ASSERT_EQ(SimSetTime(23456), 23456);
    SimSetSyncCode(1);
    SimSetEnRepeat(1);
    ASSERT_EQ(SimSetRepeat(77), 77);
    for (int p = 0; p < 3; ++p) {
        SimSetWave(kWaveCodeTri, p);
        ASSERT_EQ(SimSetAcv(5055 + 1011 * p, p), 5055 + 1011 * p);
        ASSERT_EQ(SimSetFreq(4511 + 111 * p, p), 4511 + 111 * p);
        SimSetEnOnpha(1, p);
        ASSERT_EQ(SimSetOnpha(111 * (p + 1), p), 111 * (p + 1));
        SimSetEnOffpha(1, p);
        ASSERT_EQ(SimSetOffpha(1444 + 111 * p, p), 1444 + 111 * p);
    }
    ASSERT_EQ(SeqSimGetCurStep(), 1u);
    const FieldRow rows[] = {
        {463, 491, "State", 1, "Normal1", "", 0},
        {462, 490, "Time", 23456, "2.3456", "s", 1},
        {440, 468, "Sync Code", 1, "LH", "", 2},
        {453, 481, "Repeat En", 1, "ON", "", 3},
        {454, 482, "Repeat", 77, "77", "", 4},
        {455, 483, "Wave", kWaveCodeTri, "TRI", "", 5},
        {459, 487, "ACV L1", 5055, "50.55", "V", 5},
        {460, 488, "ACV L2", 6066, "60.66", "V", 6},
        {461, 489, "ACV L3", 7077, "70.77", "V", 6},
        {456, 484, "Freq L1", 4511, "45.11", "Hz", 6},
        {457, 485, "Freq L2", 4622, "46.22", "Hz", 7},
        {458, 486, "Freq L3", 4733, "47.33", "Hz", 7},
        {450, 478, "ON En L1", 1, "Fixed", "", 7},
        {444, 472, "ON Phase L1", 111, "11.1", "deg", 8},
        {451, 479, "ON En L2", 1, "Fixed", "", 9},
        {445, 473, "ON Phase L2", 222, "22.2", "deg", 9},
        {452, 480, "ON En L3", 1, "Fixed", "", 9},
        {446, 474, "ON Phase L3", 333, "33.3", "deg", 9},
        {447, 475, "OFF En L1", 1, "Fixed", "", 9},
        {441, 469, "OFF Phase L1", 1444, "144.4", "deg", 10},
        {448, 476, "OFF En L2", 1, "Fixed", "", 11},
        {442, 470, "OFF Phase L2", 1555, "155.5", "deg", 11},
        {449, 477, "OFF En L3", 1, "Fixed", "", 11},
        {443, 471, "OFF Phase L3", 1666, "166.6", "deg", 11},
        {464, 465, "Phase L2", 1200, "120.0", "deg", 11},  // the wiring's nominal angles
        {466, 467, "Phase L3", 2400, "240.0", "deg", 11},
    };
    ExpectRows(rows, std::size(rows));
    // The state's name heads the page and is the state index's value.
    const char* names[] = {"Initial", "Normal1", "Trans1", "Abnormal", "Trans2", "Normal2"};
    for (uint32_t s = 0; s < 6; ++s) {
        SCOPED_TRACE(names[s]);
        SeqSimSetCurStep(static_cast<int32_t>(s));
        Mark();
        Step(463);
        EXPECT_TRUE(Drawn(250, 8, names[s])) << Since();
        EXPECT_TRUE(Drawn(RowScreenX(0) + 178, RowScreenY(0) + 2, names[s], "0x0000"));
    }
}

}  // namespace
