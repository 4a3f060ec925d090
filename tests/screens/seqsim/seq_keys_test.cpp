// The SEQUENCE panel keys: field walk, step keys, step editor, soft/function keys, memories, preparation.
#include <algorithm>
#include <string>
#include <vector>

#include "core/control/setting_accessors.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/seqsim_slots.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_preview.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu_entries.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_memory.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seq/seq_prepare_step.h"
#include "screens/seqsim/seq/seq_select_keys.h"
#include "screens/seqsim/seqsim_entry.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/seqsim_prepare.h"
#include "screens/seqsim/seqsim_words.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

using namespace screenkeys;

class SeqKeys : public seqedit::SeqSimTest {
  protected:
    SeqKeys() {
        SeqMem_ResetToSlotDefaults(0);
        Sim_LoadDefaultSteps();
        EXPECT_EQ(SeqSelect_RegisterKeys(), 0);
    }
    ~SeqKeys() override {
        SeqPrepStage.store(kSeqPrepIdle);
        SeqScreenReady.store(0);
    }
    // In SEQUENCE with the preparation done and the screen ready.
    static void Enter(uint32_t outputMode, uint32_t wiring) {
        SetPhaseMode(wiring);
        SetOutputMode(outputMode);
        Seq_EnterMode();
        ASSERT_EQ(g_MenuState.load(), 333u);
        SeqPrepStage.store(kSeqPrepIdle);
        SeqScreenReady.store(1);
        MsgQueue_Clear();
    }
    // The states the knob visits turning right from the step index until it stops.
    static std::vector<uint32_t> WalkRight() {
        Enter_menuSeqSetStepIndex();
        std::vector<uint32_t> seen{g_MenuState.load()};
        for (int i = 0; i < 80; ++i) {
            Knob(1);
            if (g_MenuState.load() == seen.back()) break;
            seen.push_back(g_MenuState.load());
        }
        return seen;
    }
};

TEST_F(SeqKeys, KnobWalksTheShownFieldsInOrder) {
    Enter(1, 0);  // AC-INT, 3P4W
    SeqSetCurStep(1);
    SeqSetEnJumpto(1);
    SeqSetWave(kWaveCodeSqu, 1, 1);
    SeqSetEnOffPhase(1, 2);
    const std::vector<uint32_t> ac3p4w = {333, 335, 365, 363, 367, 373, 377, 361, 369, 393, 399, 394,
                                          400, 395, 401, 381, 387, 382, 388, 383, 389, 421, 422, 428,
                                          423, 343, 344, 345, 355, 356, 357, 351, 417, 419};
    EXPECT_EQ(WalkRight(), ac3p4w);
    // Back to the left from the end, the same fields in reverse, stopping at the step index.
    std::vector<uint32_t> back{g_MenuState.load()};
    for (int i = 0; i < 80 && g_MenuState.load() != 333; ++i) {
        Knob(-1);
        back.push_back(g_MenuState.load());
    }
    EXPECT_EQ(std::vector<uint32_t>(back.rbegin(), back.rend()), ac3p4w);
    Knob(-1);
    EXPECT_EQ(g_MenuState.load(), 333u);

    SeqSetCurStep(0);
    const std::vector<uint32_t> step0 = WalkRight();
    ASSERT_GE(step0.size(), 3u);
    EXPECT_EQ(step0[2], 369u) << "step 0: Time, then Sync Code";
}

TEST_F(SeqKeys, KnobEndsForOtherWiringsAndKinds) {
    Enter(2, 1);  // DC-INT, 1P2W
    SeqSetCurStep(1);
    EXPECT_EQ(WalkRight(), (std::vector<uint32_t>{333, 335, 365, 367, 373, 377, 361, 369, 405, 411}));
    Seq_Exit();
    Enter(0, 2);  // AC+DC-INT, 1P3W
    SeqSetCurStep(1);
    const std::vector<uint32_t> w = WalkRight();
    EXPECT_EQ(w.back(), 355u) << "1P3W ends on the OFF phase of L1";
    EXPECT_EQ(std::count(w.begin(), w.end(), 405u), 1) << "AC+DC shows DCV";
    EXPECT_EQ(std::count(w.begin(), w.end(), 394u), 0) << "no L2 member";
}

TEST_F(SeqKeys, StepKeysClampAndMoveTheCursorOffHiddenFields) {
    Enter(0, 0);
    Press(kKeyLeft, 4);
    EXPECT_EQ(SeqGetCurStep(), 0) << "no wrap below 0";
    SeqSetCurStep(999);
    Press(kKeyRight, 4);
    EXPECT_EQ(SeqGetCurStep(), 999) << "no wrap above 999";

    // Step 0 has no jump, branch or termination fields: their cursor goes to the step index; the sync
    // code stays.
    SeqSetCurStep(1);
    SeqSetEnJumpto(1);
    SeqSetEnBranch1(1);
    SeqSetEnBranch2(1);
    for (uint32_t field : {361u, 363u, 365u, 367u, 371u, 373u, 375u, 377u, 369u}) {
        SeqSetCurStep(1);
        SeqEnterFieldState(field);
        ASSERT_EQ(g_MenuState.load(), field);
        Press(kKeyLeft, 4);
        EXPECT_EQ(SeqGetCurStep(), 0);
        EXPECT_EQ(g_MenuState.load(), field == 369u ? 369u : 333u) << field;
    }

    SeqSetCurStep(2);
    SeqSetWave(kWaveCodeSin, 0, 1);
    SeqSetCurStep(1);
    SeqSetWave(kWaveCodeSqu, 0, 1);
    Enter_menuSeqSetDuty(0);
    Press(kKeyRight, 4);
    EXPECT_EQ(SeqGetCurStep(), 2);
    EXPECT_EQ(g_MenuState.load(), 421u) << "SIN has no duty: Wave L1";

    SeqSetCurStep(3);
    SeqSetEnOnPhase(1, 2);
    SeqSetCurStep(4);
    SeqSetEnOnPhase(0, 2);
    SeqSetCurStep(3);
    Enter_menuSeqSetOnPhase(2);
    Press(kKeyRight, 4);
    EXPECT_EQ(g_MenuState.load(), 345u) << "ON phase L3 without its enable: the enable of L3";

    g_SeqSimBlock[0].flags.fetch_or(kRunFlagRunning);
    Press(kKeyRight, 4);
    EXPECT_EQ(SeqGetCurStep(), 4) << "no step change during a run";
    g_SeqSimBlock[0].flags.store(0);
}

TEST_F(SeqKeys, StepIndexEditorAndItsGuards) {
    Enter(0, 0);
    SeqPrepStage.store(3);
    Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 333u) << "no editor while preparing";
    EXPECT_EQ(Popup(), "Sequence preparation...");
    SeqPrepStage.store(kSeqPrepIdle);

    Press(kKeyEnter, 1);
    ASSERT_EQ(g_MenuState.load(), 334u);
    for (uint8_t d : {1, 5, 0, 0})
        Press(64 + d, 1);
    Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 333u);
    EXPECT_EQ(SeqGetCurStep(), 999) << "1500 is clamped";

    SeqSetCurStep(5);
    Press(kKeyEnter, 1);
    Press(kKeyLeft, 4);  // tens
    Knob(2);
    EXPECT_EQ(SeqGetCurStep(), 25) << "the step follows the knob";
    Press(kKeyExit, 1);
    EXPECT_EQ(SeqGetCurStep(), 5) << "exit puts back the step shown before";
    EXPECT_EQ(g_MenuState.load(), 333u);

    g_SeqSimBlock[0].flags.fetch_or(kRunFlagRunning);
    Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 333u) << "keypad ignored during a run";
    g_SeqSimBlock[0].flags.store(0);
}

TEST_F(SeqKeys, EntriesLoadTheFieldAndRaiseTheirRequest) {
    Enter(0, 0);
    SeqSetCurStep(1);
    ASSERT_EQ(SeqSetAcv(12345, 1), 12345);
    g_SeqSimScreen.fieldRedraw[1].store(0);
    g_EditParam.cursor = 2;
    Enter_menuSeqSetACV(1);
    EXPECT_EQ(g_MenuState.load(), 394u);
    EXPECT_EQ(g_EditParam.workValue.load(), 12345);
    EXPECT_EQ(g_EditParam.startValue, 12345);
    EXPECT_EQ(g_EditParam.cursor, 0u);
    EXPECT_EQ(g_SeqSimBlock[1].liveAcv, 12345u);
    EXPECT_NE(g_SeqSimBlock[0].panelFlags.load() & kSeqPanelAcvSelected, 0);
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[1].load(), 1u);
    Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 397u) << "ACV L2's editor";
    Enter_menuSeqSetSyncCode();
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & kSeqPanelAcvSelected, 0);

    SeqSetWave(kWaveCodeTri, 2, 1);
    g_SeqSimScreen.fieldRedraw[0].store(0);
    Enter_menuSeqSetWave(2);
    EXPECT_EQ(g_EditParam.workValue.load(), 0) << "the wave selection loads 0";
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[0].load(), 0u);
    Enter_menuSeqEditWave(2);
    EXPECT_EQ(g_EditParam.workValue.load(), kWaveCodeTri);
    EXPECT_EQ(g_SeqSimScreen.fieldRedraw[0].load(), 1u);
}

TEST_F(SeqKeys, SoftAndFunctionKeys) {
    Enter(1, 0);
    Press(kKeySoft1, 3);
    EXPECT_EQ(Popup(), "Valid Only AC+DC-INT Mode");
    Press(kKeySoft2, 3);
    EXPECT_EQ(g_MenuState.load(), 434u);
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen),
              kSeqPanelRecallOpen);
    g_MenuState.store(333);
    Press(kKeySoft3, 3);
    EXPECT_EQ(g_MenuState.load(), 433u);
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & (kSeqPanelRecallOpen | kSeqPanelSaveOpen),
              kSeqPanelSaveOpen);
    g_MenuState.store(333);
    Press(kKeySoft3, 3);
    EXPECT_EQ(g_MenuState.load(), 333u) << "a second press closes the list";
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & kSeqPanelSaveOpen, 0);
    SeqSetCurStep(4);
    g_SeqSimBlock[0].panelFlags.fetch_or(kSeqPanelSaveOpen);
    Press(kKeySoft7, 3);
    EXPECT_EQ(g_MenuState.load(), 436u);
    EXPECT_EQ(SeqGetCurStep(), 0) << "the RUN preview starts at step 0";
    EXPECT_EQ(g_SeqPreview.position.load(), 1u);
    EXPECT_EQ(g_SeqSimBlock[0].previewTraceMask.load(), 7u);
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & kSeqPanelSaveOpen, 0);
    g_MenuState.store(333);
    Press(kKeySoft6, 3);
    EXPECT_EQ(g_MenuState.load(), 435u);
    Seq_LeavePreview();
    EXPECT_EQ(g_MenuState.load(), 333u) << "a remote mode change closes the preview";
    Seq_LeavePreview();
    EXPECT_EQ(g_MenuState.load(), 333u);
    g_MenuState.store(333);
    SeqScreenReady.store(0);
    Press(kKeySoft2, 3);
    EXPECT_EQ(g_MenuState.load(), 333u) << "soft keys wait for the screen";
    SeqScreenReady.store(1);

    Press(kKeyPreset, 5);
    EXPECT_EQ(Popup(), "Invalid in This Sequence");
    OutputFlagSet(kOutFlagOutputOn);
    Press(kKeyMenu, 5);
    EXPECT_EQ(Popup(), "Invalid with Output ON, \nTurn OFF the Output First");
    EXPECT_EQ(SeqSimIsActive(), 1);
    OutputFlagClear(kOutFlagOutputOn);
    g_LastHomeView.store(2);
    Press(kKeySeq, 5);
    EXPECT_EQ(SeqSimIsActive(), 0);
    EXPECT_EQ(g_MenuState.load(), 2u) << "the home view last used";
}

TEST_F(SeqKeys, EveryShortcutKey) {
    Enter(0, 0);
    seqedit::ExpectShortcutKeys("Invalid in This Sequence");
}

// The soft keys during a run (branch 1, branch 2, hold/resume, stop) and the two that start something:
// RUN, which the engine refuses with the output off, and the RUN preview, which builds the run's order.
TEST_F(SeqKeys, RunAndPreviewSoftKeys) {
    Enter(0, 0);
    auto& flags = g_SeqSimBlock[0].flags;
    flags.store(kRunFlagRunning);
    const struct {
        uint8_t key, set, clear;
    } running[] = {{'Y', kRunFlagBranch1, 0}, {'Z', kRunFlagBranch2, 0}, {'[', kRunFlagPaused, 0}, {'^', 0, 0}, {'_', 0, 0}, {']', 0, 0}};
    for (const auto& r : running) {
        SCOPED_TRACE(r.key);
        const uint8_t before = flags.load();
        Press(r.key, 3);
        EXPECT_EQ(flags.load(), static_cast<uint8_t>((before | r.set) & ~r.clear));
        EXPECT_EQ(g_MenuState.load(), 333u) << "no page during a run";
    }
    g_SeqSimBlock[0].curStep.store(3);
    Press(kKeySoft4, 3);
    EXPECT_EQ(flags.load() & kRunFlagPaused, 0) << "STOP";
    EXPECT_EQ(g_SeqSimBlock[0].curStep.load(), 0u);
    flags.store(0);

    MsgQueue_Clear();
    Press(kKeySoft4, 3);
    EXPECT_EQ(Popup(), "Invalid with Output OFF, \nTurn ON the Output First");

    // Step 2 jumps to step 1 twice; step 4 ends the run.
    SeqSetCurStep(2);
    SeqSetEnJumpto(1);
    ASSERT_EQ(SeqSetJumpto(1), 1);
    ASSERT_EQ(SeqSetJumpCnt(2), 2);
    SeqSetCurStep(4);
    SeqSetTerm(1);
    g_SeqPreview.count = 0;
    Press(kKeySoft7, 3);
    ASSERT_EQ(g_SeqPreview.count, 9u);
    const uint32_t order[] = {0, 1, 2, 1, 2, 1, 2, 3, 4};
    for (size_t i = 0; i < std::size(order); ++i) EXPECT_EQ(g_SeqPreview.order[i], order[i]) << i;
}

TEST_F(SeqKeys, TheSeqKeyFromHome) {
    g_SeqSimMode.store(2);  // SIMULATE chosen last
    test::ClearTrace();
    KeyProcess_Sequence();
    EXPECT_EQ(SeqSimGetMode(), 2u) << "AC+DC-INT enters SIMULATE";
    EXPECT_EQ(SeqSimIsActive(), 1);
    const std::vector<test::RegWrite> mode = test::WritesTo(2336);
    ASSERT_FALSE(mode.empty());
    EXPECT_EQ(mode.back().raw, 32u) << "the SEQ/SIM code";
    Seq_Exit();
    SetOutputMode(1);
    g_SeqSimMode.store(2);
    KeyProcess_Sequence();
    EXPECT_EQ(SeqSimGetMode(), 1u) << "AC-INT with SIMULATE chosen last enters SEQUENCE";
    EXPECT_EQ(g_MenuState.load(), 333u);
}

TEST_F(SeqKeys, SaveRecallAndTheirReports) {
    Enter(0, 0);
    Seq_SaveSlot();
    EXPECT_EQ(Popup(), "") << "nothing without the save list open";
    Press(kKeySoft3, 3);
    Knob(-2);
    SeqSimSetSaveSlot(2);
    Seq_SaveSlot();
    EXPECT_EQ(Popup(), "Saved to SEQ2");
    EXPECT_EQ(g_SeqSimSlots.seq, 2);
    EXPECT_NE(g_SeqSimBlock[0].notices.load() & kSeqNoticeSaved, 0);
    EXPECT_EQ(g_SeqSimBlock[0].panelFlags.load() & kSeqPanelSaveOpen, 0);

    Enter_menuSeqSetStepIndex();
    Press(kKeySoft2, 3);
    SeqSimSetRecallSlot(2);
    SeqSetCurStep(7);
    Seq_RecallSlot();
    EXPECT_EQ(Popup(), "Recalled from SEQ2");
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepRequested) << "a recall asks for a preparation";
    EXPECT_EQ(SeqGetCurStep(), 0);
    EXPECT_NE(g_SeqSimBlock[0].notices.load() & kSeqNoticeRecalled, 0);

    SeqPrepStage.store(kSeqPrepIdle);
    Enter_menuSeqSetStepIndex();
    Press(kKeySoft2, 3);
    SeqSimSetRecallSlot(5);
    SeqFileRemove(5);
    Seq_RecallSlot();
    EXPECT_EQ(Popup(), "Recall Fail!");
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepIdle);

    // A memory whose values had to be limited is reported only after the download.
    g_SeqSimSlots.seq = 2;
    g_SeqSimErrors.seqInvalid.store(1);
    MsgQueue_Clear();
    SeqPrepStage.store(kSeqPrepRequested);
    Seq_PreparationStep();
    EXPECT_EQ(Popup(), "Sequence preparation...");
    SeqPrepStage.store(kSeqPrepDownload);
    Seq_PreparationStep();
    EXPECT_EQ(Popup(), "SEQ2 Data Out of Range!\n Set To Limited.");
    EXPECT_EQ(g_SeqSimErrors.seqInvalid.load(), 0u);

    // A pass that first sees the request after the screen's ticks moved it on still holds the popup, once.
    MsgQueue_Clear();
    SeqPrepStage.store(3);
    Seq_PreparationStep();
    Seq_PreparationStep();
    EXPECT_EQ(Popup(), "Sequence preparation...");
    EXPECT_EQ(MsgQueue_Count(), 1u);
    SeqPrepStage.store(kSeqPrepDownload);
    Seq_PreparationStep();

    // SEQUENCE left while the preparation is held: its popup goes too.
    SeqPrepStage.store(kSeqPrepRequested);
    Seq_PreparationStep();
    ASSERT_EQ(Popup(), "Sequence preparation...");
    ASSERT_EQ(MsgQueue_Count(), 1u);
    Seq_Exit();
    Seq_PreparationStep();
    EXPECT_EQ(MsgQueue_Count(), 0u);
}

TEST_F(SeqKeys, PowerOnEntrySwitchesTheOutputOnAfterThePreparation) {
    ASSERT_TRUE(test::RunUntilRunning());
    test::Poll(30);
    SetVoltRange(4);
    Seq_EnterModeAtPowerOn();
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepOutputOn, 0) << "a refused entry asks nothing";
    SetVoltRange(1);
    Seq_EnterModeAtPowerOn();
    ASSERT_EQ(SeqSimIsActive(), 1);
    EXPECT_NE(g_SeqSimBlock[0].prepFlags.load() & kSeqPrepOutputOn, 0);
    Seq_DownloadPrepared();
    EXPECT_FALSE(OutputFlagTest(kOutFlagOutputOn)) << "only at the download stage";
    SeqPrepStage.store(kSeqPrepDownload);
    Seq_PreparationStep();
    EXPECT_EQ(g_SeqSimBlock[0].prepFlags.load(), 0);
    EXPECT_EQ(Popup(), "Sequence is ready.");
    test::Poll(11);
    EXPECT_TRUE(test::Stage().OutputOn());
}

}  // namespace
