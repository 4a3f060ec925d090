// Memories saved to and recalled from the simulated USB memory (the brand directory under /mnt/sd1).
#include "engine/memory_usb.h"

#include <cstring>
#include <string>

#include "core/params/presets/preset_store.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/links/usb_state.h"
#include "engine/seqsim/seqsim_file.h"
#include "storage/data_file_frame.h"
#include "storage/file_result.h"
#include "storage/files/arb_file.h"
#include "storage/files/preset_file.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

std::string Usb(const std::string& name) {
    return "/mnt/sd1/qx/" + name;
}

class MemoryUsb : public ::testing::Test {
  protected:
    void SetUp() override { g_UsbState.statusB.store(core::kUsbMounted); }
    void TearDown() override {
        g_UsbState.statusB.store(0);
        SysStatusClear(kSysAlarmLatched);
    }
    std::string Read(const std::string& path) { return env_.ctrl.env.root.Read(path); }
    test::SeqSimEnv env_;
};

TEST_F(MemoryUsb, SaveAllStopsAtTheFirstMemoryNeverStored) {
    for (int slot = 0; slot < 4; ++slot)
        ASSERT_GT(SeqSaveFile(slot, 0), 0);
    EXPECT_LE(SaveMemoryToUsb(4, 0), 0);
    EXPECT_EQ(test::PopupText(), "SEQ4.SEQ Save Fail");
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(Read(Usb("Preset" + std::to_string(n) + ".Set")).size(), kPresetFileSize) << n;
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(Read(Usb("SEQ" + std::to_string(n) + ".SEQ")),
                  Read("/mnt/tst/seq/SEQ" + std::to_string(n) + ".SEQ"));
    EXPECT_EQ(Read(Usb("SEQ4.SEQ")), "");
    EXPECT_EQ(Read(Usb("SIM0.SIM")), "");
}

TEST_F(MemoryUsb, SavingAMemoryLeavesTheWorkingTablesAlone) {
    ASSERT_GT(SeqSaveFile(2, 0), 0);
    g_SeqStepTable[1][2][3].dcv = -4321;
    const SeqStepRecord live = g_SeqStepTable[1][2][3];
    EXPECT_EQ(SaveMemoryToUsb(1, 2), static_cast<int32_t>(kSeqFileSize));
    EXPECT_EQ(test::PopupText(), "SEQ2.SEQ Saved Success");
    EXPECT_EQ(std::memcmp(&live, &g_SeqStepTable[1][2][3], sizeof live), 0);
    EXPECT_EQ(Read(Usb("SEQ2.SEQ")), Read("/mnt/tst/seq/SEQ2.SEQ"));
    EXPECT_EQ(SaveMemoryToUsb(2, 10), 0);
}

// A refused file is named with the model it was made on, although the import put the old image back.
TEST_F(MemoryUsb, RecallNamesTheRefusedModel) {
    ASSERT_GT(SeqSaveFile(1, 0), 0);
    std::string f = Read("/mnt/tst/seq/SEQ1.SEQ");
    f.replace(0, 12, "NO-SUCH-MODL");
    storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
    env_.ctrl.env.root.Write(Usb("SEQ1.SEQ"), f);
    EXPECT_EQ(RecallMemoryFromUsb(1, 1), -201);
    EXPECT_EQ(test::PopupText(), "SEQ1.SEQ Recall Fail\n(Model(NO-SUCH-MODL) Error)");
    OutputFlagSet(kOutFlagOutputOn);
    EXPECT_EQ(RecallMemoryFromUsb(3, 7), 0);
    EXPECT_EQ(test::PopupText(), "Invalid with Output ON");
}

TEST_F(MemoryUsb, SaveAllThenRecallAllRestoresEveryMemory) {
    for (int slot = 0; slot < 10; ++slot) {
        ASSERT_GT(SeqSaveFile(slot, 0), 0);
        ASSERT_GT(SimSaveFile(slot), 0);
    }
    PresetRecord(9, 1)[kPresetWaveform] = 5;
    int16_t& sample = g_ArbMem[storage::ArbSlotOf(252)][7];
    sample = 321;
    EXPECT_EQ(SaveMemoryToUsb(4, 0), 1);
    EXPECT_EQ(test::PopupText(), "All Data Saved Success");
    EXPECT_EQ(Read(Usb("Preset9.Set")).size(), kPresetFileSize);
    EXPECT_EQ(Read(Usb("SIM9.SIM")), Read("/mnt/tst/sim/SIM9.SIM"));
    EXPECT_EQ(Read(Usb("ARB253.ARB")).size(), kArbFileBytes);
    PresetRecord(9, 1)[kPresetWaveform] = 6;
    sample = -1;
    EXPECT_EQ(RecallMemoryFromUsb(4, 0), 1);
    EXPECT_EQ(test::PopupText(), "All Data Recall Success");
    EXPECT_EQ(PresetRecord(9, 1)[kPresetWaveform], 5);
    EXPECT_EQ(sample, 321);
    EXPECT_EQ(Read("/mnt/tst/ARB/ARB253.ARB"), Read(Usb("ARB253.ARB")));
}

// An input-power alarm (bit 9) raised after the monitor's last pass is read before the first item.
TEST_F(MemoryUsb, AllDataStopsOnAStageAlarmNotYetLatched) {
    ASSERT_GT(SeqSaveFile(0, 0), 0);
    env_.ctrl.env.root.Write(Usb("Preset0.Set"), std::string(kPresetFileSize, '\0'));
    test::Stage().InjectBit(2087, 9, true);  // L2's alarm word
    ASSERT_FALSE(SysStatusTest(kSysAlarmLatched));
    EXPECT_EQ(SaveMemoryToUsb(4, 0), -301);
    EXPECT_EQ(test::PopupText(), "Preset0.Set Save Fail");
    EXPECT_TRUE(SysStatusTest(kSysAlarmLatched));
    EXPECT_EQ(Read(Usb("Preset0.Set")), std::string(kPresetFileSize, '\0'));
    EXPECT_EQ(Read(Usb("SEQ0.SEQ")), "");
    SysStatusClear(kSysAlarmLatched);
    EXPECT_EQ(RecallMemoryFromUsb(4, 0), -102);
    EXPECT_EQ(test::PopupText(), "Preset0.Set Recall Fail\n(File Format Error)");
    EXPECT_TRUE(SysStatusTest(kSysAlarmLatched));
    test::Stage().InjectBit(2087, 9, false);
}

TEST_F(MemoryUsb, NothingTravelsWithoutAMountedMemory) {
    ASSERT_GT(SeqSaveFile(2, 0), 0);
    env_.ctrl.env.root.Write(Usb("Preset3.Set"), std::string(kPresetFileSize, '\0'));
    env_.ctrl.env.root.Write(Usb("ARB5.wdb"), std::string(kArbWdbBytes, '\0'));
    g_UsbState.statusB.store(0);
    const struct {
        const char* what;
        int32_t (*op)(int32_t, int32_t);
        int32_t kind, n;
    } cases[] = {
        {"save preset", SaveMemoryToUsb, 0, 3},       {"save SEQ", SaveMemoryToUsb, 1, 2},
        {"save ARB", SaveMemoryToUsb, 3, 5},          {"save all", SaveMemoryToUsb, 4, 0},
        {"recall preset", RecallMemoryFromUsb, 0, 3}, {"recall wdb", RecallMemoryFromUsb, 3, 5},
        {"recall all", RecallMemoryFromUsb, 4, 0},
    };
    for (const auto& c : cases) {
        g_MsgFreeText[0] = '\0';
        EXPECT_EQ(c.op(c.kind, c.n), 0) << c.what;
        EXPECT_EQ(test::PopupText(), "USB Memory Unconnected") << c.what;
    }
    EXPECT_EQ(Read(Usb("SEQ2.SEQ")), "");
    EXPECT_EQ(Read(Usb("ARB5.ARB")), "");
    EXPECT_EQ(PresetLoadFromUsb(3), kFileMissing);
    EXPECT_EQ(ArbLoadFromUsb(4), kFileMissing);
}

}  // namespace
