// The waveform files: the bytes written, the images refused, the USB and remote imports, the defaults.
#include "storage/files/arb_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "core/params/access/param_access.h"
#include "core/params/waves/arb_builtin.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "platform/host/clock.h"
#include "storage/data_file_frame.h"
#include "storage/raw_file.h"
#include "tests/support/default_store.h"

namespace {

// A recognisable wave: no two neighbours alike, both signs, full scale reached.
int16_t Pattern(int k, int seed) {
    return static_cast<int16_t>(((k * 37 + seed * 101) % 65535) - 32767);
}
// An "F001Strong" image of the pattern.
std::string StrongImage(int seed) {
    std::string f(kArbStrongBytes, '\0');
    auto* p = reinterpret_cast<uint8_t*>(f.data());
    std::memcpy(p, "F001Strong", 10);
    storage::StoreBe32(p + 12, 8224);
    for (int k = 0; k < kArbSamples; ++k)
        storage::StoreBe16(p + 48 + 2 * k, static_cast<uint16_t>(Pattern(k, seed)));
    storage::StoreBe32(p + 8240, WaveImageSum(p, kArbStrongBytes));
    return f;
}
std::string WdbFile(int seed, size_t size) {
    std::string f(size, '\x5A');
    for (int k = 0; k < kArbSamples; ++k)
        storage::StoreLe(reinterpret_cast<uint8_t*>(f.data()) + 326 + 2 * k,
                         static_cast<uint16_t>(Pattern(k, seed)), 2);
    return f;
}
std::string Flip(std::string f, size_t at) {
    f[at] ^= 0x01;
    return f;
}
bool SlotHolds(int slot, int seed) {
    for (int k = 0; k < kArbSamples; ++k)
        if (g_ArbMem[slot][k] != Pattern(k, seed)) return false;
    return true;
}
void Fill(int slot, int seed) {
    for (int k = 0; k < kArbSamples; ++k)
        g_ArbMem[slot][k] = Pattern(k, seed);
}
// The image of wave i holding the pattern, built by the instrument; the slot is then set to another one.
std::string ImageOf(int i, int seed) {
    Fill(storage::ArbSlotOf(i), seed);
    ArbBuildFile(i);
    Fill(storage::ArbSlotOf(i), seed + 1);
    return std::string(reinterpret_cast<const char*>(g_ArbFileImg), kArbFileBytes);
}

class ArbFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(g_ArbMem, 0, sizeof g_ArbMem);
        g_UsbState.statusB.store(core::kUsbMounted);
    }
    void TearDown() override { g_UsbState.statusB.store(0); }
    test::DefaultStore store_;
};

TEST_F(ArbFileTest, SavingARB17WritesSlot19AsTheRootedFile) {
    Fill(19, 3);
    EXPECT_EQ(ArbSaveFile(16, 1), 8260);
    EXPECT_EQ(g_ArbChanged.pendingTable.load(), 20);  // slot + 1, for the control task's download
    const std::string f = store_.root.Read("/mnt/tst/ARB/ARB17.ARB");
    ASSERT_EQ(f.size(), 8260u);
    EXPECT_EQ(f.substr(48, 8), std::string("\x04\x24\x00\x03\x00\x11\x00\x00", 8));
    const auto* p = reinterpret_cast<const uint8_t*>(f.data());
    for (int k = 0; k < kArbSamples; ++k)
        ASSERT_EQ(static_cast<int16_t>(storage::LoadBe16(p + 64 + 2 * k)), Pattern(k, 3)) << k;
    uint32_t sum = 0;  // the trailer: the byte sum, big-endian
    for (size_t i = 0; i < 8256; ++i)
        sum += static_cast<uint8_t>(f[i]);
    EXPECT_EQ(f.substr(8256), std::string({char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum)}));
}

TEST_F(ArbFileTest, DamagedImagesAreRefusedWithTheWaveUnchanged) {
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
    } cases[] = {
        {"a sample byte", [](std::string& f) { f[1000] ^= 0x01; }},
        {"the trailer", [](std::string& f) { f[8259] ^= 0x80; }},
        {"the size field, resealed", [](std::string& f) { f[15] ^= 0x01; }},
        {"the kind, resealed", [](std::string& f) { f[51] = 2; }},
        {"the version, resealed", [](std::string& f) { f[55] = 1; }},
    };
    for (const auto& c : cases) {
        std::string f = ImageOf(16, 5);
        c.damage(f);
        if (std::string(c.what).find("resealed") != std::string::npos)
            storage::DataFileSeal(reinterpret_cast<uint8_t*>(f.data()), f.size());
        store_.root.Write("/mnt/tst/ARB/ARB17.ARB", f);
        const int32_t got = FileReadRaw(1, "ARB", "ARB17.ARB", g_ArbFileImg, kArbFileBytes);
        EXPECT_EQ(ArbLoadFile(16, got), -200) << c.what;
        EXPECT_TRUE(SlotHolds(19, 6)) << c.what;
    }
}

TEST_F(ArbFileTest, RemoteImagesByLength) {
    const std::string own = ImageOf(4, 7);
    const std::string strong = StrongImage(8);
    const struct {
        std::string data;
        int32_t result;
        int seed;  // what slot 4 holds afterwards
    } cases[] = {
        {own, 8260, 7},
        {strong, 8260, 8},
        {own.substr(0, 8259), -200, 8},
        {strong.substr(0, 8192), -200, 8},
        {Flip(strong, 0), -200, 8},    // not "F001Strong"
        {Flip(strong, 900), -200, 8},  // a sample that no longer matches the sum
        {std::string(), -200, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArbRemoteWrite(4, static_cast<int32_t>(c.data.size()),
                                 reinterpret_cast<const uint8_t*>(c.data.data())),
                  c.result)
            << c.data.size();
        EXPECT_TRUE(SlotHolds(4, c.seed)) << c.data.size();
    }
}

TEST_F(ArbFileTest, UsbRecallOfARB5) {
    const std::string dir = "/mnt/sd1/qx/";
    const struct {
        const char* what;
        const char* file;
        std::string content;
        int32_t result;
        uint8_t wasWdb;
        bool loaded;
    } cases[] = {
        {"wdb of 131398 bytes", "ARB5.wdb", WdbFile(9, 131398), 8260, 1, true},
        {"wdb one byte short", "ARB5.wdb", WdbFile(9, 131397), -200, 1, false},
        {"F001Strong image as ARB5.ARB", "ARB5.ARB", StrongImage(9), 8260, 0, true},
        {"ARB5.ARB of another size", "ARB5.ARB", std::string(100, 'a'), -200, 0, false},
        {"no file", nullptr, "", -100, 0, false},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(store_.root.path() + "/mnt/sd1/qx");
        Fill(4, 1);
        if (c.file != nullptr) store_.root.Write(dir + c.file, c.content);
        g_ArbImportWasWdb = 7;
        EXPECT_EQ(ArbLoadFromUsb(4), c.result) << c.what;
        EXPECT_EQ(g_ArbImportWasWdb.load(), c.wasWdb) << c.what;
        EXPECT_EQ(SlotHolds(4, c.loaded ? 9 : 1), true) << c.what;
    }
}

TEST_F(ArbFileTest, EveryEntryPointRefusesAWaveOutside0To252) {
    Fill(255, 11);
    const uint8_t image[kArbFileBytes] = {};
    const std::function<int32_t(int32_t)> calls[] = {
        ArbBuildFile,
        [](int32_t i) { return ArbLoadFile(i, 8260); },
        [](int32_t i) { return ArbImportStrongImage(i, 8244); },
        [](int32_t i) { return ArbSaveFile(i, 1); },
        ArbLoadFromUsb,
        ArbImportWdb,
        ArbLoadDefault,
        ArbResetToDefault,
        ArbRestore,
        [&](int32_t i) { return ArbRemoteWrite(i, 8260, image); },
        [&](int32_t i) { return ArbRemoteWriteRaw(i, image); },
    };
    for (int32_t i : {-1, 253, 255}) {
        int row = 0;
        for (const auto& call : calls)
            EXPECT_EQ(call(i), -1) << "wave " << i << " entry " << row++;
    }
    EXPECT_TRUE(SlotHolds(255, 11));
}

TEST_F(ArbFileTest, DefaultsAndTheFactoryFileOverThem) {
    for (const auto& [wave, slot, shape] : {std::tuple{20, 23, &core::kArbBuiltinSine},
                                            {9, 9, &core::kArbBuiltinSquare}, {13, 13, &core::kArbBuiltinTriangle}}) {
        EXPECT_EQ(ArbResetToDefault(wave), 0);
        EXPECT_EQ(std::memcmp(g_ArbMem[slot], shape->data(), sizeof g_ArbMem[slot]), 0) << wave;
    }
    // A factory file replaces the shape; one of a wrong size is refused, not taken as success.
    store_.root.Write("/mnt/disk/default/ARB/ARB10.ARB", ImageOf(9, 12));
    EXPECT_EQ(ArbResetToDefault(9), 0);
    EXPECT_TRUE(SlotHolds(9, 12));
    store_.root.Write("/mnt/disk/default/ARB/ARB10.ARB", std::string(5000, 'a'));
    EXPECT_EQ(ArbLoadDefault(9), -200);
}

// A new root's ARB1-ARB16: sound files of the default shapes that name the unit's model (the model
// text of the process is not yet the unit's when they are written), also over what the root held.
TEST_F(ArbFileTest, TheFactoryWavesCarryTheUnitsModelText) {
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4145", 8);
    store_.root.Write("/mnt/tst/ARB/ARB5.ARB", std::string(100, 'x'));
    EXPECT_EQ(storage::ArbProvisionFactoryFiles("VRN-4160-12"), 0);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i + 1);
        const std::string f = store_.root.Read("/mnt/tst/ARB/ARB" + std::to_string(i + 1) + ".ARB");
        ASSERT_EQ(f.size(), kArbFileBytes);
        EXPECT_EQ(f.substr(0, 12), std::string("VRN-4160-12\0", 12));
        std::memset(g_ArbMem, 0, sizeof g_ArbMem);
        std::memcpy(g_ArbFileImg, f.data(), kArbFileBytes);
        ASSERT_EQ(ArbLoadFile(i, kArbFileBytes), 1);
        const core::ArbShape& shape = i < 8    ? core::kArbBuiltinSine
                                      : i < 12 ? core::kArbBuiltinSquare
                                               : core::kArbBuiltinTriangle;
        EXPECT_EQ(std::memcmp(g_ArbMem[storage::ArbSlotOf(i)], shape.data(), sizeof g_ArbMem[0]), 0);
    }
    char model[sizeof g_ModelName];
    IdentityTextRead(g_ModelName, sizeof g_ModelName, model);
    EXPECT_STREQ(model, "VRN-4145");
}

TEST_F(ArbFileTest, SavingTheWavePlayingWithTheOutputOnSwitchesTheOutputOffFirst) {
    const struct {
        int wave;  // the selected phase's waveform
        uint8_t flags;
    } cases[] = {
        {23, core::kArbWriteFactorTable | core::kArbStartDelay | core::kArbOutputOnAfter},
        {16, core::kArbWriteFactorTable},  // another wave plays: the output stays on
    };
    plat::SetTimeScale(1000);  // no control task takes the off request: its wait ends at once
    for (const auto& c : cases) {
        SetWaveform(c.wave, 0);
        g_ArbChanged.flags = 0;
        OutputFlagSet(kOutFlagOutputOn);
        EXPECT_EQ(ArbSaveFile(20, 0), 8260);
        EXPECT_EQ(g_ArbChanged.flags.load(), c.flags) << c.wave;
        OutputFlagClear(kOutFlagOutputOn);
    }
    plat::SetTimeScale(1);
}

}  // namespace
