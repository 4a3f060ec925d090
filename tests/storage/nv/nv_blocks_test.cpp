#include "storage/nv/nv_blocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <tuple>
#include <vector>

#include "core/params/param_store.h"
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
    NvBlocksReset();  // the zeroed block's hold would keep the next save back
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

// Every power-on setting at its byte of block 0 (a setting record by its id, or an interface field), from
// the value in force or its default, and back from the byte with its sign.
TEST_F(NvBlocksTest, EveryPowerOnSettingSitsAtItsByte) {
    struct Row {
        int pos, size;
        uint32_t id;  // the setting record's id; 0 for an interface field
        bool isSigned;
        uint8_t* u8 = nullptr;
        uint32_t* u32 = nullptr;
    };
    auto& io = g_IfaceCfg;
    const Row rows[] = {
        {58, 1, 102, true},  {59, 1, 104, true},  {60, 1, 106, true},  {61, 1, 108, true},
        {62, 1, 110, true},  {63, 1, 112, true},  {64, 1, 114, true},  {65, 1, 116, true},
        {66, 1, 118, true},  {68, 1, 120, true},  {69, 1, 122, true},  {70, 1, 124, true},
        {71, 1, 126, true},  {72, 1, 90, true},   {73, 1, 91, true},   {74, 1, 132, true},
        {81, 1, 193, true},  {82, 1, 100, true},  {84, 1, 134, false}, {85, 1, 136, false},
        {86, 1, 208, true},  {87, 1, 212, true},  {88, 1, 210, false}, {93, 1, 130, false},
        {96, 4, 96, false},  {104, 4, 128, false}, {108, 4, 195, false}, {112, 4, 197, false},
        {116, 4, 199, false}, {120, 4, 201, false}, {124, 4, 203, false}, {128, 4, 205, false},
        {75, 1, 0, false, &io.rs232Enable},     {76, 1, 0, false, &io.rs232Baud},
        {77, 1, 0, false, &io.rs232DataBits},   {78, 1, 0, false, &io.rs232Parity},
        {79, 1, 0, false, &io.rs232StopBits},   {80, 1, 0, true, nullptr, &io.gpibAddress},
        {89, 1, 0, true, nullptr, &io.canopenBaud}, {90, 1, 0, false, nullptr, &io.canopenNodeId},
        {91, 1, 0, true, nullptr, &io.devicenetBaud}, {92, 1, 0, false, nullptr, &io.devicenetMacId},
        {100, 4, 0, false, io.usb},
    };
    const auto rec = [](const Row& r) { return core::ParamLocate(r.id, core::ParamPlace{}); };
    const auto put = [&](const Row& r, int32_t v) {
        if (r.id != 0)
            rec(r)->value = v;
        else if (r.u32)
            *r.u32 = static_cast<uint32_t>(v);
        else
            for (int i = 0; i < r.size; ++i)
                r.u8[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
    };
    const auto get = [&](const Row& r) {
        if (r.id != 0)
            return rec(r)->value;
        if (r.u32)
            return static_cast<int32_t>(*r.u32);
        uint32_t v = 0;
        for (int i = 0; i < r.size; ++i)
            v |= uint32_t{r.u8[i]} << (8 * i);
        return static_cast<int32_t>(v);
    };
    // Each byte's value has its top bit set, so that a lost or added sign shows; the words differ in each byte.
    const auto raw = [](const Row& r) { return r.size == 1 ? 0x80u + r.pos : 0x81828300u + r.pos; };
    const auto applied = [&](const Row& r) {
        return r.size == 4 ? static_cast<int32_t>(raw(r))
                           : r.isSigned ? static_cast<int8_t>(raw(r)) : static_cast<int32_t>(raw(r));
    };
    const auto byteAt = [](const std::vector<uint8_t>& img, const Row& r) {
        uint32_t v = 0;
        for (int i = 0; i < r.size; ++i)
            v |= uint32_t{img[r.pos + i]} << (8 * i);
        return v;
    };
    const storage::IfaceCfg ifaceWas = g_IfaceCfg;
    std::vector<ParamRec> recsWas;
    for (const Row& r : rows)
        if (r.id != 0)
            recsWas.push_back(*rec(r));
    for (const Row& r : rows) {
        put(r, applied(r));
        if (r.id != 0)
            rec(r)->defaultValue = applied(r) + 1;
    }
    std::vector<uint8_t> now(kNvIdentityUsed), defaults(kNvIdentityUsed);
    IdentityBlockPack(CollectPowerOn(false), now.data());
    IdentityBlockPack(CollectPowerOn(true), defaults.data());
    for (const Row& r : rows)
        put(r, 0);
    IdentityBlock back;
    IdentityBlockUnpack(now.data(), &back);
    ApplyPowerOn(back);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pos);
        const uint32_t mask = r.size == 4 ? ~0u : 0xFFu;
        EXPECT_EQ(byteAt(now, r), raw(r));
        EXPECT_EQ(byteAt(defaults, r), r.id != 0 ? (raw(r) + 1) & mask : raw(r));
        EXPECT_EQ(get(r), applied(r));
    }
    EXPECT_EQ(now[67], 0);
    g_IfaceCfg = ifaceWas;
    size_t k = 0;
    for (const Row& r : rows)
        if (r.id != 0)
            *rec(r) = recsWas[k++];
}

}  // namespace
