// The SEQUENCE memory lists, recall confirmations and previews, driven with key
// events through the dispatcher.
#include <string>

#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_preview.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_defaults.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/menu/dialog_words.h"
#include "screens/seqsim/seq/seq_page_entries.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seqsim_panel.h"
#include "tests/screens/screen_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

using namespace screenkeys;

class SeqPages : public seqedit::SeqPageTest {
  protected:
    static uint32_t State() { return g_MenuState.load(); }
    static uint8_t PanelFlags() { return g_SeqSimBlock[0].panelFlags.load(); }
    // SEQ2 stored for wiring and range; then the recall list opened on slot 0 and
    // turned to slot 2.
    static void StoreAndOpen(uint32_t wiring, uint32_t range) {
        g_SeqSimBlock[0].seqSaved.wiring = wiring;
        g_SeqSimBlock[0].seqSaved.range = range;
        ASSERT_GT(SeqSaveFile(2, 0), 0);
        SeqSimSetRecallSlot(0);
        OpenRecallList();
        Press(kKeyKnob, kClassCursor, -2);
    }
    static void OpenRecallList() {
        MsgQueue_Clear();
        g_SeqSimBlock[0].panelFlags.store(kSeqPanelRecallOpen);
        Enter_menuSeqRecallMemory();
    }
};

TEST_F(SeqPages, RecallListKnobRunsBackwardsWithinTheSlots) {
    OpenRecallList();
    Press(kKeyKnob, kClassCursor, 1);
    EXPECT_EQ(SeqSimGetRecallSlot(), 0u);
    Press(kKeyKnob, kClassCursor, -12);
    EXPECT_EQ(SeqSimGetRecallSlot(), 9u);
    Press(kKeyKnob, kClassCursor, -1);
    EXPECT_EQ(SeqSimGetRecallSlot(), 9u);
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(g_EditParam.workValue.load(), 9);
    Press(kKeyExit, kClassKeypad);
    EXPECT_EQ(State(), kMenuSeqSetStepIndex);
    EXPECT_EQ(PanelFlags() & kSeqPanelRecallOpen, 0);
}

// Another wiring stored: the first dialog opens on going on, the second on giving up. Giving up in either
// leaves without recalling: the wiring and the working tables as they were. Going on in both recalls with
// the stored wiring, also when the range differs too.
TEST_F(SeqPages, AnotherWiringIsRecalledOnlyAfterBothConfirmations) {
    SetPhaseMode(1);
    StoreAndOpen(0, 1);
    SeqSetCurStep(3);
    SeqSetTime(4321);  // an edit the memory does not hold
    const struct {
        uint8_t first, second;  // the cursor key pressed in each dialog before 'U', 0 none
        bool recalled;
    } cases[] = {{0, 0, false}, {'W', 0, false}, {0, 'V', true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.first} << " " << int{c.second});
        if (c.first != 0 || c.second != 0) OpenRecallList();
        Press(kKeyEnter, kClassKeypad);
        ASSERT_EQ(State(), 330u);
        EXPECT_EQ(g_DialogChoice.load(), 0u);
        if (c.first != 0) Press(c.first, kClassCursor);
        Press(kKeyEnter, kClassKeypad);
        if (c.first == 0) {
            ASSERT_EQ(State(), 331u);
            EXPECT_EQ(g_EditParam.workValue.load(), 1);
            if (c.second != 0) Press(c.second, kClassCursor);
            Press(kKeyEnter, kClassKeypad);
        }
        EXPECT_EQ(State(), kMenuSeqSetStepIndex);
        EXPECT_EQ(PanelFlags() & kSeqPanelRecallOpen, 0);
        EXPECT_EQ(GetPhaseMode(), c.recalled ? 0u : 1u);
        EXPECT_EQ(Popup(), c.recalled ? "Recalled from SEQ2" : "");
        if (!c.recalled) {
            EXPECT_EQ(SeqGetTime(), 4321) << "the working tables as they were";
        }
    }
}

// The same wiring but another range with the output on: 'V' 'U' recalls, 'W'
// 'U' leaves.
TEST_F(SeqPages, AnotherRangeWithTheOutputOnAsksOnce) {
    StoreAndOpen(GetPhaseMode(), 1 - static_cast<uint32_t>(GetVoltRange()));
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(Popup(), "Recalled from SEQ2") << "with the output off no question";

    OutputFlagSet(kOutFlagOutputOn);
    const int32_t range = GetVoltRange();
    StoreAndOpen(GetPhaseMode(), 1 - static_cast<uint32_t>(range));
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 332u);
    EXPECT_EQ(g_DialogChoice.load(), 1u);
    Press(kKeyRight, kClassCursor);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), kMenuSeqSetStepIndex);
    EXPECT_EQ(PanelFlags() & kSeqPanelRecallOpen, 0);
    EXPECT_EQ(GetVoltRange(), range) << "nothing recalled";

    OpenRecallList();
    Press(kKeyEnter, kClassKeypad);
    Press(kKeyRight, kClassCursor);
    Press(kKeyLeft, kClassCursor);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(GetVoltRange(), 1 - range);
    EXPECT_EQ(Popup(), "Recalled from SEQ2");
}

TEST_F(SeqPages, StepPreviewTracesFollowTheWiring) {
    struct Case {
        uint32_t wiring;
        uint32_t mask;  // after 'Y', 'Z', '[' from 7
    } cases[] = {{1, 7}, {2, 4 | 0}, {0, 0}};
    for (const Case& c : cases) {
        SetPhaseMode(c.wiring);
        g_SeqSimBlock[0].previewTraceMask.store(7);
        Enter_menuSeqPreview();
        EXPECT_EQ(g_EditParam.workValue.load(), 1);
        Press(kKeySoft1, kClassSoft);
        Press(kKeySoft2, kClassSoft);
        Press(kKeySoft3, kClassSoft);
        EXPECT_EQ(g_SeqSimBlock[0].previewTraceMask.load(), c.mask) << "wiring " << c.wiring;
        Press(kKeyLeft, kClassCursor);
        EXPECT_EQ(g_EditParam.workValue.load(), 0);
        Press(kKeyEnter, kClassKeypad);
        EXPECT_EQ(State(), 435u);
        Press(96, kClassSoft);
        EXPECT_EQ(State(), kMenuSeqSetStepIndex);
    }
}

// A three-step program: the RUN preview walks its order and the position entry
// takes what fits.
TEST_F(SeqPages, RunPreviewWalksTheOrderAndTheEntryDropsWhatDoesNotFit) {
    SeqSetCurStep(2);
    SeqSetTerm(kTermEnd);
    SeqSetCurStep(0);
    g_SeqPreview.position.store(1);
    ASSERT_EQ(SeqBuildPreview(), 3u);
    Enter_menuSeqPreviewRUN();
    Press(kKeyLeft, kClassCursor);
    EXPECT_EQ(g_SeqPreview.position.load(), 1u) << "'V' at position 1";
    Press(kKeyRight, kClassCursor);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(g_SeqPreview.position.load(), 3u);
    EXPECT_EQ(SeqGetCurStep(), 2);
    Press(kKeyRight, kClassCursor);
    EXPECT_EQ(g_SeqPreview.position.load(), 3u) << "'W' at the last position";
    Press(kKeyKnob, kClassCursor, -5);
    EXPECT_EQ(g_SeqPreview.position.load(), 1u);
    EXPECT_EQ(SeqGetCurStep(), 0);

    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 437u);
    EXPECT_EQ(g_SeqPreview.edited.load(), 0u);
    Press(64 + 7, kClassKeypad);
    EXPECT_EQ(g_SeqPreview.edited.load(), 1u);
    EXPECT_EQ(g_SeqPreview.editedPosition.load(), 7u);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(State(), 436u);
    EXPECT_EQ(g_SeqPreview.position.load(), 1u) << "7 is beyond the order";
    EXPECT_EQ(g_EditBuf.entryState, 0u);

    Press(kKeyEnter, kClassKeypad);
    Press(kKeySoft3, kClassSoft);
    EXPECT_EQ(g_SeqPreview.position.load(), 3u) << "'[' jumps to the last position";
    Press(64 + 2, kClassKeypad);
    Press(kKeyEnter, kClassKeypad);
    EXPECT_EQ(g_SeqPreview.position.load(), 2u);
    EXPECT_EQ(SeqGetCurStep(), 1);
    Press(kKeySeq, kClassFunction);
    EXPECT_EQ(State(), kMenuSeqSetStepIndex);
}

}  // namespace
