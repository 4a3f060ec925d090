// The SEQ and SIM memory slots: clearing one memory and deleting all of them.
#include <filesystem>
#include <string>

#include "engine/seqsim_file.h"
#include "engine/seqsim_mem_slots.h"
#include "screens/seqsim/seqsim_mem_delete.h"
#include "storage/byte_order.h"
#include "storage/memory_data.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

int g_presetsCleared = 0;
int32_t ClearPresets() {
    ++g_presetsCleared;
    return 1;
}
int32_t Ok(int32_t) {
    return 1;
}
int32_t OkArb(int32_t, int32_t) {
    return 1;
}

class MemorySlots : public ::testing::Test {
  protected:
    void SetUp() override {
        g_presetsCleared = 0;
        MemoryData_SetDeleteHooks({Ok, ClearPresets, SeqMem_DeleteItem, SimMem_DeleteItem, OkArb});
    }
    void TearDown() override {
        MemoryData_SetDeleteHooks({});
        SysStatusClear(kSysAlarmLatched);
    }
    std::string Read(const std::string& path) { return env_.ctrl.env.root.Read(path); }
    test::SeqSimEnv env_;
};

TEST_F(MemorySlots, ClearingWritesTheDefaultsAndReportsAFailedSave) {
    EXPECT_EQ(SeqMem_Clear(3), 1);
    EXPECT_EQ(test::PopupText(), "SEQ3 Deleted");
    EXPECT_EQ(Read("/mnt/tst/seq/SEQ3.SEQ").size(), kSeqFileSize);
    EXPECT_EQ(SeqMem_Clear(9), 1);
    const std::string seq9 = Read("/mnt/tst/seq/SEQ9.SEQ");
    EXPECT_EQ(storage::LoadBe16(reinterpret_cast<const uint8_t*>(seq9.data()) + 1224064 + 68), 1) << "Vpp";
    // The SIM folder is a file: the save fails and so does the delete.
    std::filesystem::remove_all(env_.ctrl.env.root.path() + "/mnt/tst/sim");
    env_.ctrl.env.root.Write("/mnt/tst/sim", "not a folder");
    g_MsgFreeText[0] = '\0';
    EXPECT_LE(SimMem_Clear(2), 0);
    EXPECT_EQ(test::PopupText().find("Deleted"), std::string::npos);
    EXPECT_EQ(SeqMem_Clear(10), 0);
}

TEST_F(MemorySlots, DeleteAllStopsAtSeq9WhileAnAlarmIsLatched) {
    SysStatusSet(kSysAlarmLatched);
    EXPECT_EQ(DeleteMemoryData(4, 0), 0);
    EXPECT_EQ(test::PopupText(), "SEQ9 Deleted Fail");
    EXPECT_EQ(g_presetsCleared, 1);
    EXPECT_EQ(Read("/mnt/tst/seq/SEQ9.SEQ"), "");
    MemoryData_SetDeleteHooks({Ok, nullptr, SeqMem_DeleteItem, SimMem_DeleteItem, OkArb});
    EXPECT_EQ(DeleteMemoryData(4, 0), 0) << "refused while a hook is missing";
    EXPECT_EQ(g_presetsCleared, 1);
}

}  // namespace
