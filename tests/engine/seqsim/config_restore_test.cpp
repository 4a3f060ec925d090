// The output configuration a recalled SEQ memory brings back: a wiring other than the one in force keeps
// the present wiring's settings in its own non-volatile blocks and takes the recalled wiring's from theirs.
#include <gtest/gtest.h>

#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "platform/devices/spi.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/settings_backup.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/support/erased_nv.h"

namespace {

class ConfigRestore : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenErasedNv());
        SeqSimResetEngine(kEngineSeq);
    }
    void TearDown() override { testsupport::CloseNv(); }
    // L1's AC voltage of the AC-INT 200 V area, a value every settings block carries.
    static int32_t& Acv() { return g_ParamStore.unit[0].mode[1].volt[1].acv[0][16].value; }
    test::SeqSimEnv env_;
};

TEST_F(ConfigRestore, RecallIntoAnotherWiringSwapsTheWiringsSettingsBlocks) {
    g_PhaseMode = 2;  // 1P3W
    Acv() = 22200;
    ASSERT_EQ(BackupSavePhaseSettings(2), kNvSaved);
    ASSERT_GT(SeqMem_Save(4), 0);
    g_PhaseMode = 0;  // 3P4W
    Acv() = 11100;
    g_SeqSimScreen.redraw.store(0);

    ASSERT_GT(SeqMem_Recall(1, 4), 0);
    EXPECT_EQ(g_PhaseMode.load(), 2u);
    EXPECT_EQ(Acv(), 22200) << "the 1P3W blocks were not loaded";
    EXPECT_NE(g_SeqSimScreen.redraw.load() & kRedrawWiring, 0u);
    // The 3P4W settings in force at the recall were kept in their blocks.
    g_PhaseMode = 0;
    Acv() = 0;
    BackupLoadPhaseSettings(0);
    EXPECT_EQ(Acv(), 11100) << "the 3P4W blocks were not saved";
}

TEST_F(ConfigRestore, RecallInTheSameWiringLeavesTheBlocksAlone) {
    ASSERT_GT(SeqMem_Save(2), 0);
    plat::NvmSimClearLog();
    ASSERT_GT(SeqMem_Recall(1, 2), 0);
    for (const auto& cmd : plat::NvmSimLog())
        EXPECT_NE(cmd.command, 0x02) << "write at " << cmd.address;
}

}  // namespace
