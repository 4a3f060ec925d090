// Memories saved to and recalled from the simulated USB memory (the brand directory under /mnt/sd1).
#include "engine/memory_usb.h"

#include <cstring>
#include <string>

#include "core/system/usb_state.h"
#include "engine/seqsim_file.h"
#include "storage/data_file_frame.h"
#include "storage/raw_file.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

std::string Usb(const std::string& name) {
    return "/mnt/sd1/qx/" + name;
}

int32_t WritePresetFile(int32_t n) {
    const std::string name = "Preset" + std::to_string(n) + ".Set";
    return FileWriteRaw(0, "qx", name.c_str(), "preset", 6);
}
int32_t Never(int32_t) {
    ADD_FAILURE() << "not reached";
    return -1;
}
int32_t NeverLoad(int32_t, bool*) {
    return Never(0);
}

class MemoryUsb : public ::testing::Test {
  protected:
    void SetUp() override {
        MemoryUsb_SetHooks({WritePresetFile, Never, nullptr, Never, NeverLoad});
        g_UsbState.statusB.store(core::kUsbMounted);
    }
    void TearDown() override {
        MemoryUsb_SetHooks({});
        g_UsbState.statusB.store(0);
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
        EXPECT_EQ(Read(Usb("Preset" + std::to_string(n) + ".Set")), "preset") << n;
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

}  // namespace
