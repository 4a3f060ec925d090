// The SEQ and SIM memory slots: clearing one memory and deleting all of them with the presets and waves.
#include <cstring>
#include <filesystem>
#include <string>

#include "core/params/presets/preset_store.h"
#include "core/params/waves/arb_builtin.h"
#include "core/params/waves/arb_mem.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "screens/seqsim/seqsim_mem_delete.h"
#include "storage/byte_order.h"
#include "storage/files/arb_file.h"
#include "storage/files/memory_data.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

class MemorySlots : public ::testing::Test {
  protected:
    void SetUp() override {
        PresetClearAll();
        std::memcpy(defaultPreset_, PresetRecord(4, 2), kPresetRecordSize);
        MemoryData_SetDeleteHooks({SeqMem_DeleteItem, SimMem_DeleteItem});
    }
    void TearDown() override {
        MemoryData_SetDeleteHooks({});
        SysStatusClear(kSysAlarmLatched);
    }
    std::string Read(const std::string& path) { return env_.ctrl.env.root.Read(path); }
    bool PresetIsDefault() { return std::memcmp(defaultPreset_, PresetRecord(4, 2), kPresetRecordSize) == 0; }
    test::SeqSimEnv env_;
    uint8_t defaultPreset_[kPresetRecordSize];
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

// A latched alarm, or a startup alarm (bit 12) the stage raised but the monitor has not yet seen, stops the
// delete before SEQ9.
TEST_F(MemorySlots, DeleteAllStopsAtSeq9OnAnAlarm) {
    for (bool latched : {true, false}) {
        SCOPED_TRACE(latched);
        latched ? SysStatusSet(kSysAlarmLatched) : test::Stage().InjectBit(2086, 12, true);
        PresetRecord(4, 2)[kPresetWaveform] = 7;
        EXPECT_EQ(DeleteMemoryData(4, 0), 0);
        EXPECT_EQ(test::PopupText(), "SEQ9 Deleted Fail");
        EXPECT_TRUE(PresetIsDefault());
        EXPECT_TRUE(SysStatusTest(kSysAlarmLatched));
        EXPECT_EQ(Read("/mnt/tst/seq/SEQ9.SEQ"), "");
        test::Stage().InjectBit(2086, 12, false);
        SysStatusClear(kSysAlarmLatched);
    }
    PresetRecord(4, 2)[kPresetWaveform] = 7;
    MemoryData_SetDeleteHooks({SeqMem_DeleteItem, nullptr});
    EXPECT_EQ(DeleteMemoryData(4, 0), 0) << "refused while a hook is missing";
    EXPECT_FALSE(PresetIsDefault());
}

// The output may be playing the waveform: deleting it, or everything, waits for the output to be off.
TEST_F(MemorySlots, WaveformDeletesAreRefusedWhileTheOutputIsOn) {
    int16_t& sample = g_ArbMem[storage::ArbSlotOf(8)][0];  // ARB9
    sample = 1234;
    PresetRecord(4, 2)[kPresetWaveform] = 7;
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(DeleteMemoryData(3, 9), 0);
    EXPECT_EQ(test::PopupText(), "Invalid with Output ON");
    EXPECT_EQ(DeleteMemoryData(4, 0), 0);
    OutputFlagClear(kOutFlagOutputOn);
    EXPECT_EQ(sample, 1234);
    EXPECT_FALSE(PresetIsDefault());
    EXPECT_EQ(DeleteMemoryData(3, 9), 1);
    EXPECT_EQ(test::PopupText(), "ARB9 Deleted");
    EXPECT_NE(sample, 1234);
}

TEST_F(MemorySlots, DeleteAllLeavesTheDefaultsEverywhere) {
    PresetRecord(4, 2)[kPresetWaveform] = 7;
    g_ArbMem[storage::ArbSlotOf(8)][0] = 1234;  // ARB9, a square
    g_ArbMem[storage::ArbSlotOf(252)][0] = 1234;
    EXPECT_EQ(DeleteMemoryData(4, 0), 1);
    EXPECT_EQ(test::PopupText(), "All Data Deleted");
    EXPECT_TRUE(PresetIsDefault());
    EXPECT_EQ(Read("/mnt/tst/seq/SEQ0.SEQ").size(), kSeqFileSize);
    EXPECT_EQ(Read("/mnt/tst/sim/SIM0.SIM").size(), kSimFileSize);
    const struct {
        int n;
        const core::ArbShape& shape;
    } waves[] = {{9, core::kArbBuiltinSquare}, {253, core::kArbBuiltinSine}};
    for (const auto& w : waves) {
        const std::string f = Read("/mnt/tst/ARB/ARB" + std::to_string(w.n) + ".ARB");
        ASSERT_EQ(f.size(), kArbFileBytes) << w.n;
        const auto* samples = reinterpret_cast<const uint8_t*>(f.data()) + 64;
        for (int k : {0, 1000, 4095})
            EXPECT_EQ(static_cast<int16_t>(storage::LoadBe16(samples + 2 * k)), w.shape[k])
                << w.n << " " << k;
    }
}

}  // namespace
