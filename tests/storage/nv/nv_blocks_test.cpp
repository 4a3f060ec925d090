#include "storage/nv/nv_blocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <tuple>
#include <vector>

#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/files/memory_data.h"
#include "core/system/config/iface_cfg.h"
#include "storage/nv/nv_identity_convert.h"
#include "storage/nv/nv_power_on.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/temp_root.h"

namespace {

class NvBlocksTest : public test::NvTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(NvTest::SetUp());
        MemoryDeleteReset();
        core::SysStatusReset();
        core::ServiceFlagsReset();
    }
    void TearDown() override {
        NvTest::TearDown();
        core::ServiceFlagsReset();
    }
    testsupport::TempRoot root_;
};

IdentityBlock SampleIdentity() {
    IdentityBlock b;
    b.modelId = 7;
    b.brandId = 2;
    std::strcpy(b.serial, "SN-0042");
    std::strcpy(b.mac, "00:11:22:33:44:55");
    b.phaseMode = 1;
    b.factoryAccess = 1;
    for (int i = 0; i < 36; ++i)
        b.powerOn[i] = static_cast<uint8_t>(0xF0 + i);
    b.powerOn[kPowerOnDeleteAll] = 0;
    b.peakHoldTime = 0x01020304;
    b.trigWidth = 250;
    b.lr[5] = -123456;
    return b;
}

SettingsBlock SampleSettings() {
    SettingsBlock s;
    for (int i = 0; i < 90; ++i)
        s.bytes[i] = static_cast<uint8_t>(i * 3 + 0x80);
    for (int i = 0; i < 228; ++i)
        s.words[i] = (i - 100) * 65537;
    return s;
}

// Fields land at their byte offsets little-endian, and unpacking gives back every field.
TEST_F(NvBlocksTest, BlocksRoundTripThroughPackAndUnpack) {
    IdentityBlock id = SampleIdentity();
    std::vector<uint8_t> img(kNvIdentityUsed);
    IdentityBlockPack(id, img.data());
    EXPECT_EQ(img[6], 7);
    EXPECT_EQ(img[96], 0x04);
    EXPECT_EQ(img[99], 0x01);
    EXPECT_EQ(img[45], 1);
    EXPECT_EQ(img[46], 0);
    SettingsBlock s = SampleSettings();
    std::vector<uint8_t> simg(kNvSettingsBlockSize);
    SettingsBlockPack(s, simg.data());
    EXPECT_EQ(simg[8], 0x80);
    EXPECT_EQ(simg[4 * 66 + 3], static_cast<uint8_t>(static_cast<uint32_t>(-100 * 65537) >> 24));
    EXPECT_EQ(simg[4 * 294], 0);
    // Through the memory (pack, write, read, unpack): every field back, the checksum copy kept.
    ASSERT_EQ(IdentityBlockSave(id), kNvSaved);
    ASSERT_EQ(SettingsBlockSave(4, s), kNvSaved);
    NvBlocksReset();
    IdentityBlock idMem;
    SettingsBlock sMem;
    ASSERT_EQ(IdentityBlockRead(&idMem), 0);
    ASSERT_EQ(SettingsBlockRead(4, &sMem), 0);
    EXPECT_EQ(std::memcmp(&id, &idMem, sizeof id), 0);
    EXPECT_EQ(std::memcmp(&s, &sMem, sizeof s), 0);
    EXPECT_NE(NvBlockKeptSum(4), 0u);
}

// A block whose sum is zero or wrong is never applied: the caller's record stays as it was.
TEST_F(NvBlocksTest, AWrongChecksumIsNeverAppliedADeleteRequestIsTaken) {
    struct Case {
        const char* what;
        uint32_t offset;  // byte changed in the memory after the save, relative to the block
        bool erase;
    };
    const Case cases[] = {{"body byte", 70, false}, {"checksum byte", 1, false}, {"erased (sum 0)", 0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(plat::NvmSimErase(), 0);
        NvBlocksReset();
        if (c.erase) {
            uint8_t zero[kNvIdentityStage] = {};
            ASSERT_EQ(SpiNvmWriteBuf(0, zero, sizeof zero), static_cast<int32_t>(sizeof zero));
        } else {
            ASSERT_EQ(IdentityBlockSave(SampleIdentity()), kNvSaved);
            FlipByte(c.offset);
        }
        IdentityBlock out;
        out.modelId = 99;
        EXPECT_EQ(IdentityBlockRead(&out), -200);
        EXPECT_EQ(out.modelId, 99);
    }
    IdentityBlock b = SampleIdentity();
    EXPECT_FALSE(SpecialDataDeleteRequested(b));
    b.powerOn[kPowerOnDeleteAll] = 1;
    ASSERT_EQ(IdentityBlockSave(b), kNvSaved);
    IdentityBlock loaded;
    ASSERT_EQ(IdentityBlockRead(&loaded), 0);
    EXPECT_TRUE(SpecialDataDeleteRequested(loaded));
    EXPECT_TRUE(SysStatusTest(kSysResetSaveRequest));
    const auto req = MemoryDeleteLastRequest();
    EXPECT_EQ(std::make_tuple(req.count, req.kind, req.number), std::make_tuple(1u, 4, 0));
}

// A failure in the middle of the block's write reaches the caller, and the half-written block is refused
// at the next load; with writes disabled nothing reaches the memory.
TEST_F(NvBlocksTest, AFailedOrDisabledWriteIsReportedAndNeverLoaded) {
    ASSERT_EQ(SettingsBlockSave(2, SampleSettings()), kNvSaved);
    ASSERT_NE(NvBlockKeptSum(2), 0u);
    ASSERT_EQ(plat::NvmSimErase(), 0);
    // On the erased memory the first chunk (with the new checksum) lands and the rest stays 0xFF.
    plat::NvmSimFailMessage(4);  // the data of the second 2048-byte chunk
    EXPECT_EQ(SettingsBlockSave(2, SampleSettings()), kNvWriteFailed);
    EXPECT_EQ(NvBlockKeptSum(2), 0u);
    SettingsBlock out;
    out.words[0] = 55;
    EXPECT_EQ(SettingsBlockRead(2, &out), -200);
    EXPECT_EQ(out.words[0], 55);

    plat::NvmSimClearLog();
    g_ServiceFlags.rdTestMode = 1;
    EXPECT_EQ(SettingsBlockSave(3, SampleSettings()), kNvNotWritten);
    EXPECT_EQ(SpecialDataSave(2), kNvNotWritten);
    EXPECT_TRUE(plat::NvmSimLog().empty());
    EXPECT_EQ(root_.Read("/mnt/tst/Special/SpecialData"), "");
}

// Re-basing keeps the block's other fields, takes the new limit words and refuses a block that fails its
// sum.
TEST_F(NvBlocksTest, RebaseKeepsTheBlockSpecialDataGoesToMemoryAndFile) {
    SettingsRebase rb;
    for (int i = 0; i < 28; ++i)
        rb.words[i] = 1000 + i;
    EXPECT_EQ(SettingsBlockRebaseWrite(1, rb, NvBlockOffset(1)), -200);  // erased memory
    EXPECT_TRUE(plat::NvmSimLog().back().command == 0x03);               // nothing written
    SettingsBlock s = SampleSettings(), back;
    ASSERT_EQ(SettingsBlockSave(1, s), kNvSaved);
    ASSERT_EQ(SettingsBlockRebaseWrite(1, rb, NvBlockOffset(1)), kNvSaved);
    ASSERT_EQ(SettingsBlockRead(1, &back), 0);
    for (int i = 0; i < 28; ++i)
        s.words[kSettingsRebaseFirstWord - kSettingsFirstWord + i] = 1000 + i;
    EXPECT_EQ(std::memcmp(&s, &back, sizeof s), 0);
    // The special data goes to the memory and to its file, the same 512 bytes, the phase mode in byte 44.
    ASSERT_EQ(IdentityBlockSave(SampleIdentity()), kNvSaved);
    ASSERT_EQ(SpecialDataSave(2), kNvSaved);
    const std::string chip = Chip(0, kNvIdentityStage);
    ASSERT_EQ(chip.size(), kNvIdentityStage);
    EXPECT_EQ(root_.Read("/mnt/tst/Special/SpecialData"), chip);
    EXPECT_EQ(chip[44], 2);
}

// The checksum covers bytes 4 to the block's used length and nothing else, by a byte sum of the test's own.
TEST_F(NvBlocksTest, ChecksumIsTheByteSumFromByte4ToTheEnd) {
    const auto sumFrom4 = [](const uint8_t* p, size_t used) {
        uint32_t sum = 0;
        for (size_t i = 4; i < used; ++i)
            sum += p[i];
        return sum;
    };
    for (size_t used : {size_t{kNvIdentityUsed}, size_t{kNvSettingsBlockSize}}) {
        SCOPED_TRACE(used);
        std::vector<uint8_t> img(used + 16, 0xEE);  // bytes past the block must not count
        for (size_t i = 0; i < used; ++i)
            img[i] = static_cast<uint8_t>(i * 7 + 1);
        const uint32_t sum = NvBlockSeal(img.data(), used);
        EXPECT_EQ(img[4] | img[5] << 8, 1060);
        EXPECT_EQ(sum, sumFrom4(img.data(), used));
        EXPECT_EQ(img[0] | img[1] << 8 | img[2] << 16 | uint32_t{img[3]} << 24, sum);
        EXPECT_TRUE(NvBlockSumOk(img.data(), used));
        img[used - 1] ^= 0x01;  // the last byte counts
        EXPECT_FALSE(NvBlockSumOk(img.data(), used));
        img[used - 1] ^= 0x01;
        img[used] ^= 0x01;  // the byte after it does not
        EXPECT_TRUE(NvBlockSumOk(img.data(), used));
    }
    // The identity as the memory holds it (the settings block's: nv_settings_convert_test).
    ASSERT_EQ(IdentityBlockSave(SampleIdentity()), kNvSaved);
    std::vector<uint8_t> chip(kNvIdentityStage);
    ASSERT_EQ(SpiNvmReadBuf(0, chip.data(), kNvIdentityStage), static_cast<int32_t>(kNvIdentityStage));
    EXPECT_EQ(chip[0] | chip[1] << 8 | chip[2] << 16 | uint32_t{chip[3]} << 24,
              sumFrom4(chip.data(), kNvIdentityUsed));
}

// A reset sets the RS232 enable and the USB bits on the supervisor thread while the menu/control thread
// gathers the power-on bytes for a save: the gathering reads them as they are written (the thread checker
// of the CI's ThreadSanitizer build sees a plain read here).
TEST_F(NvBlocksTest, PowerOnBytesAreGatheredWhileAResetSetsThem) {
    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::thread reset([&] {
        do {
            std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).store(1, std::memory_order_relaxed);
            IfaceUsbByteOr(0, 1u << 4);
            IfaceUsbByteOr(2, 3u << 1);
            passes.fetch_add(1);
        } while (!done.load());
    });
    for (int i = 0; i < 200 || (passes.load() < 2 && i < 2000000); ++i)
        (void)CollectPowerOn(false);
    done.store(true);
    reset.join();
    const IdentityBlock b = CollectPowerOn(false);
    EXPECT_EQ(b.powerOn[75 - 58], 1);
    EXPECT_EQ(b.usbWord & 0x00060010u, 0x00060010u);
}

}  // namespace
