// The SEQ memory used last loaded at start-up: the stored steps, never the stored output configuration.
#include "screens/seqsim/seq/seq_mem_reload.h"

#include "core/params/access/param_access.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {

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
