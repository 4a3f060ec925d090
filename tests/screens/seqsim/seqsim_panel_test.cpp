// Entering, preparing and leaving SEQUENCE and SIMULATE from the panel services; the SEQ memories' defaults,
// and the SEQ memory used last loaded at start-up: the stored steps, never the stored output configuration.
#include "screens/seqsim/seqsim_panel.h"

#include "core/control/setting_accessors.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "engine/run/seqsim_run.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_validate.h"
#include "screens/seqsim/seq/seq_mem_reload.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seq/seq_prepare_step.h"
#include "screens/seqsim/seqsim_prepare.h"
#include "screens/seqsim/seqsim_words.h"
#include "screens/seqsim/sim/sim_prepare.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

using screenkeys::Popup;

class SeqSimPanel : public seqedit::SeqSimTest {
  protected:
    SeqSimPanel() {
        SeqMem_ResetToSlotDefaults(0);
        Sim_LoadDefaultSteps();
    }
};

TEST_F(SeqSimPanel, EntryRefusals) {
    struct Case {
        void (*enter)();
        void (*setup)();
        const char* message;
    } cases[] = {
        {Seq_EnterMode, [] { OutputFlagSet(kOutFlagOutputOn); },
         "Invalid with Output ON, \nTurn OFF the Output First"},
        {Seq_EnterMode, [] { SetVoltRange(4); }, "Invalid For Auto Range"},
        {KeyProcess_Sequence, [] { OutputFlagSet(kOutFlagOutputOn); },
         "Invalid with Output ON, \nTurn OFF the Output First"},
        {KeyProcess_Sequence, [] { SetVoltRange(4); }, "Invalid For Auto Range"},
        {Seq_EnterMode, [] { SetOutputMode(3); }, "Invalid in \nThis Output Mode"},
        {KeyProcess_Sequence, [] { SetOutputMode(3); }, "Invalid in \nThis Output Mode"},
        {Sim_EnterMode, [] { SetOutputMode(1); }, "Invalid in \nThis Output Mode"},
    };
    for (const Case& c : cases) {
        test::Rebuild(1);
        c.setup();
        c.enter();
        EXPECT_EQ(Popup(), c.message);
        EXPECT_EQ(SeqSimIsActive(), 0);
        EXPECT_EQ(SeqSimGetMode(), 0u);
    }
}

// The preparation is pending from the entry on (a remote *OPC? waits for it), and a step a remote client
// selects meanwhile stays current through the runner's preparation and the download.
TEST_F(SeqSimPanel, EnterPrepareAndLeave) {
    Seq_EnterMode();
    EXPECT_EQ(SeqSimIsActive(), 1);
    EXPECT_EQ(SeqSimGetMode(), 1u);
    EXPECT_EQ(SeqSimGetEngineKind(), uint32_t{kEngineSeq});
    EXPECT_EQ(g_SeqSimBlock[0].runWord >> 9, uint32_t{kRunPrepare});
    EXPECT_TRUE(SeqSimPreparationPending());
    SeqSetCurStep(3);
    SeqSimRunControl();
    SeqSimRunControl();
    EXPECT_EQ(SeqGetCurStep(), 3);
    EXPECT_TRUE(SeqSimPreparationPending()) << "the download is still to come";
    MsgQueue_Clear();
    Seq_PreparationStep();
    EXPECT_EQ(MsgQueue_Count(), 0u) << "no held popup before the page shows: it would keep the page away";
    test::ClearTrace();
    SeqPrepStage.store(kSeqPrepDownload);
    Seq_PreparationStep();
    EXPECT_EQ(Popup(), "Sequence is ready.");
    EXPECT_EQ(SeqPrepStage.load(), kSeqPrepIdle);
    EXPECT_EQ(SeqGetCurStep(), 3);
    EXPECT_FALSE(SeqSimPreparationPending());
    SeqSetCurStep(0);
    EXPECT_EQ(test::WritesTo(2340).size(), 1u) << "apply strobe after a clean download";
    test::Stage().InjectReadXor(791, 4, 2);
    test::ClearTrace();
    SeqPrepStage.store(kSeqPrepDownload);
    Seq_PreparationStep();
    EXPECT_EQ(Popup(), "SEQ Err.(4, 1)");
    EXPECT_TRUE(test::WritesTo(2340).empty());
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0) << "cleared after the report";
    Seq_Exit();
    EXPECT_EQ(SeqSimIsActive(), 0);
    EXPECT_EQ(SeqSimGetMode(), 0u);
    test::Stage().ClearReadXor(791, 4);
}

TEST_F(SeqSimPanel, SlotDefaultsAreValidPrograms) {
    for (int32_t slot : {0, 6, 7, 8, 9}) {
        SeqMem_ResetToSlotDefaults(slot);
        EXPECT_EQ(SeqValidateAll(5), 1) << slot;
    }
    SeqMem_ResetToSlotDefaults(7);
    const SeqStepRecord& s40 = g_SeqStepTable[SeqTableIndex(0, 0)][2][40];
    const SeqStepRecord& s42 = g_SeqStepTable[SeqTableIndex(0, 1)][1][42];
    EXPECT_EQ(s40.dcv, 0);
    EXPECT_EQ(s40.time, 10000u);
    EXPECT_EQ(s42.flags >> kSeqTermShift, uint32_t{kTermEnd});
    EXPECT_EQ(g_SeqStepTable[SeqTableIndex(2, 0)][0][0].dcv, 0) << "DC tables hold default steps";
}

using SeqMemReload = seqedit::SeqEditTest;

TEST_F(SeqMemReload, AStoredMemoryLoadsAndAMissingOneGivesItsDefaults) {
    g_SeqStepTable[0][0][0].dcv = 1234;
    ASSERT_GT(SeqMem_Save(3), 0);
    SetPhaseMode(1);
    g_SeqStepTable[0][0][0].dcv = 0;
    g_SeqSimScreen.redraw = 0;
    EXPECT_GT(SeqMem_ReloadAtStart(3), 0);
    EXPECT_EQ(g_SeqStepTable[0][0][0].dcv, 1234);
    EXPECT_EQ(GetPhaseMode(), 1u) << "the stored wiring is not applied";

    EXPECT_LE(SeqMem_ReloadAtStart(7), 0) << "SEQ7 was never stored";
    EXPECT_EQ(g_SeqStepTable[0][0][0].dcv, 1200) << "SEQ7's template";
    EXPECT_EQ(g_SeqStepTable[0][0][42].flags >> kSeqTermShift & 3u, uint32_t{kTermEnd});
    EXPECT_EQ(GetPhaseMode(), 1u);
    EXPECT_EQ(g_SeqSimScreen.redraw.load(), 0u) << "nothing of the configuration changed";
    EXPECT_LE(SeqMem_ReloadAtStart(12), 0);
    EXPECT_EQ(g_SeqStepTable[0][0][0].dcv, 0) << "a number outside 0-9: the default step";
}

}  // namespace
