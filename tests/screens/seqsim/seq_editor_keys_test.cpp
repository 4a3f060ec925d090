// The SEQUENCE value editors reached as the panel reaches them: the key-handler table, the selection
// state's enter key, the editor's keys, back to the selection state.
#include "screens/seqsim/seqedit/seq_editor_keys.h"

#include "drivers/panel_link.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "screens/output/keys/key_table.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_select_keys.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {
using namespace seqedit;

class SeqEditorKeys : public SeqEditTest {
  protected:
    SeqEditorKeys() {
        EXPECT_EQ(SeqSelect_RegisterKeys(), 0);
        EXPECT_EQ(SeqEditors_RegisterKeys(), 0);
    }
};

TEST_F(SeqEditorKeys, EveryEditorOfTheTriplesIsInTheTable) {
    const uint32_t firsts[] = {384, 390, 396, 402, 408, 414, 424, 430};
    for (const uint32_t first : firsts)
        for (uint32_t p = 0; p < 3; ++p)
            EXPECT_NE(KeyTable_Handler(first + p), KeyTable_Handler(first - 3 + p)) << first + p;
    EXPECT_EQ(KeyTable_Handler(409), menuSeqEditDCV_L2);
    EXPECT_EQ(KeyTable_Handler(432), menuSeqEditDuty_L3);
    EXPECT_EQ(SeqEditors_RegisterKeys(), 0) << "registering again is harmless";
}

TEST_F(SeqEditorKeys, TypedDcvGoesToTheStepAndTheFieldIsSelectedAgain) {
    Enter_menuSeqSetDCV(1);
    screenkeys::Press(kKeyEnter, 1);
    ASSERT_EQ(g_MenuState.load(), 409u);
    TypeDispatched("12.5");
    screenkeys::Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 406u);
    EXPECT_EQ(SeqGetDcv(1), 1250);
    EXPECT_EQ(g_EditParam.workValue.load(), 1250) << "the selection state shows the stored value";

    screenkeys::Press(kKeyEnter, 1);
    screenkeys::Press(kKeyRight, 4);
    screenkeys::Press(kKeyRight, 4);
    EXPECT_EQ(g_EditParam.cursor, 3u);
    screenkeys::Knob(2);
    EXPECT_EQ(g_EditParam.workValue.load(), 3250);
    test::ClearTrace();
    screenkeys::Press(kKeySeq, 5);
    EXPECT_EQ(g_MenuState.load(), 406u);
    EXPECT_EQ(SeqGetDcv(1), 1250) << "the SEQ key writes nothing";
    EXPECT_TRUE(test::Writes().empty());
}

TEST_F(SeqEditorKeys, TheL3WaveEditorReturnsToItsField) {
    Enter_menuSeqSetWave(2);
    screenkeys::Press(kKeyEnter, 1);
    ASSERT_EQ(g_MenuState.load(), 426u);
    screenkeys::Knob(1);
    screenkeys::Press(kKeyEnter, 1);
    EXPECT_EQ(g_MenuState.load(), 423u);
    EXPECT_EQ(SeqGetWave(2), 18);
}

TEST_F(SeqEditorKeys, AModeWhoseStartingPairLeavesTheLimitsKeepsCT) {
    ASSERT_GT(SeqSetAcv(SeqGetAcvRangeMax(0), 0), 0);
    GoToStep(1);
    ASSERT_EQ(SeqSetDcv(5000, 0), 5000);
    Enter_menuSeqSetACVType(0);
    screenkeys::Press(kKeyEnter, 1);
    screenkeys::Press(kKeySoft3, 3);
    FreshRing();
    test::ClearTrace();
    screenkeys::Press(kKeyEnter, 1);
    EXPECT_EQ(Posted(), std::vector<std::string>{"18"}) << "step 0's AC voltage with 50 V DC does not fit";
    EXPECT_EQ(g_MenuState.load(), 399u);
    EXPECT_EQ(SeqGetAcvMode(0), 0);
    EXPECT_TRUE(test::Writes().empty());
    Enter_menuSeqSetDCVType(0);
    screenkeys::Press(kKeyEnter, 1);
    screenkeys::Press(kKeySoft3, 3);
    screenkeys::Press(kKeyEnter, 1);
    EXPECT_EQ(SeqGetDcvMode(0), 2) << "the DC voltage sweeping from step 0's 0 V fits";
}

TEST_F(SeqEditorKeys, EveryEditorChecksWhatItWrote) {
    struct Case {
        void (*edit)(int);
        uint32_t selection;
    } cases[] = {{Enter_menuSeqEditFset, 381}, {Enter_menuSeqEditFsetType, 387},
                 {Enter_menuSeqEditACV, 393},  {Enter_menuSeqEditACVType, 399},
                 {Enter_menuSeqEditDCV, 405},  {Enter_menuSeqEditDCVType, 411},
                 {Enter_menuSeqEditWave, 421}, {Enter_menuSeqEditDuty, 427}};
    for (const Case& c : cases) {
        GoToStep(0);
        c.edit(1);
        test::ClearTrace();
        screenkeys::Press(kKeyEnter, 1);
        EXPECT_EQ(g_MenuState.load(), c.selection + 1);
        EXPECT_FALSE(test::WritesTo(2340).empty()) << c.selection << ": a clean write on step 0 is applied";

        GoToStep(3);
        c.edit(1);
        test::ClearTrace();
        screenkeys::Press(kKeyEnter, 1);
        EXPECT_TRUE(test::WritesTo(2340).empty()) << c.selection << ": no apply on another step";
        const std::vector<uint16_t> written = test::Registers();
        for (const uint16_t reg : written)
            test::Stage().InjectReadXor(reg, 3, 1);
        c.edit(1);
        FreshRing();
        screenkeys::Press(kKeyEnter, 1);
        EXPECT_EQ(Posted(), std::vector<std::string>{"SEQ Err.(3, 1)"}) << c.selection;
        EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
        EXPECT_EQ(g_SeqSimErrors.seqStep.load(), 0);
        for (const uint16_t reg : written)
            test::Stage().ClearReadXor(reg, 3);
    }
}

}  // namespace
