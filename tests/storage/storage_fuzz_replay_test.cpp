// The seeds of the storage readers' fuzz targets (tests/storage/fuzz/seeds/<target>), replayed through the
// same one-input functions in every build, with a few truncations of each. The seeds are made by the
// program's own writers (DISABLED_WriteSeeds writes them again:
//   storage_tests --gtest_also_run_disabled_tests --gtest_filter='StorageFuzzReplay.DISABLED_WriteSeeds').
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/control/barcode_table.h"
#include "core/control/calibration/cal_page.h"
#include "core/params/presets/preset_store.h"
#include "core/params/waves/arb_mem.h"
#include "platform/devices/spi.h"
#include "src/dev/spi_nvm.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "storage/files/arb_file.h"
#include "storage/files/barcode_file.h"
#include "storage/files/calibration_file.h"
#include "storage/files/preset_file.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_power_on.h"
#include "storage/nv/nv_settings_convert.h"
#include "storage/nv/preset_backup.h"
#include "tests/storage/fuzz/storage_fuzz_fixture.h"

namespace {

namespace fs = std::filesystem;
using OneInput = void (*)(const uint8_t*, size_t);

const fs::path kSeeds = fs::path(__FILE__).parent_path() / "fuzz" / "seeds";

std::vector<uint8_t> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>{std::istreambuf_iterator<char>(in), {}};
}

// Every seed whole, empty, and cut to half and to one byte short.
int Replay(const char* target, OneInput one) {
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(kSeeds / target)) {
        const std::vector<uint8_t> f = ReadFile(entry.path());
        SCOPED_TRACE(entry.path().string());
        for (size_t n : {f.size(), size_t{0}, f.size() / 2, f.empty() ? size_t{0} : f.size() - 1})
            one(f.data(), n);
        ++seeds;
    }
    return seeds;
}

TEST(StorageFuzzReplay, SeedsAndTheirTruncations) {
    storagefuzz::Environment env;
    const struct {
        const char* target;
        OneInput one;
    } targets[] = {
        {"preset_file", storagefuzz::PresetFileOne},   {"arb_file", storagefuzz::ArbFileOne},
        {"barcode_file", storagefuzz::BarcodeFileOne}, {"calibration_file", storagefuzz::CalibrationFileOne},
        {"nv_block", storagefuzz::NvBlockOne},         {"config_text", storagefuzz::ConfigTextOne},
    };
    for (const auto& t : targets)
        EXPECT_GE(Replay(t.target, t.one), 3) << t.target;
}

// The seeds: each kind's file as its writer makes it, and damaged copies of it.
void Put(const char* target, const std::string& name, const std::vector<uint8_t>& bytes) {
    fs::create_directories(kSeeds / target);
    std::ofstream out(kSeeds / target / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
void Seal(std::vector<uint8_t>& f) {
    storage::DataFileSeal(f.data(), f.size());
}
std::vector<uint8_t> Flipped(std::vector<uint8_t> f, size_t at) {
    f[at] ^= 0x5A;
    return f;
}

TEST(StorageFuzzReplay, DISABLED_WriteSeeds) {
    storagefuzz::Environment env;
    // Presets: one of the defaults, one with a record out of range (sealed), a foreign model, a bad
    // version, a damaged trailer.
    PresetBuildFile(3);
    std::vector<uint8_t> preset(g_PresetFileImg, g_PresetFileImg + kPresetFileSize);
    Put("preset_file", "valid.Set", preset);
    Put("preset_file", "trailer.Set", Flipped(preset, kPresetFileSize - 1));
    std::vector<uint8_t> p = preset;
    storage::StoreBe32(p.data() + 64 + 4 * 47, 0x7FFFFFFF);
    p[64 + 3] = 0x80;
    Seal(p);
    Put("preset_file", "out-of-range.Set", p);
    p = preset;
    std::memcpy(p.data(), "OTHER-MODEL", 11);
    Seal(p);
    Put("preset_file", "model.Set", p);
    p = preset;
    p[55] = 1;
    Seal(p);
    Put("preset_file", "version.Set", p);

    // Waves: the own image, a "F001Strong" image, raw samples, the head of a wdb file.
    for (int k = 0; k < 4096; ++k)
        g_ArbMem[storage::ArbSlotOf(4)][k] = static_cast<int16_t>((k * 37) % 65536 - 32768);
    ArbBuildFile(4);
    std::vector<uint8_t> arb(g_ArbFileImg, g_ArbFileImg + kArbFileBytes);
    Put("arb_file", "valid.ARB", arb);
    Put("arb_file", "sample-changed.ARB", Flipped(arb, 100));
    std::vector<uint8_t> a = arb;
    a[55] = 2;
    Seal(a);
    Put("arb_file", "version.ARB", a);
    std::vector<uint8_t> strong(kArbStrongBytes, 0);
    std::memcpy(strong.data(), "F001Strong", 10);
    storage::StoreBe32(strong.data() + 12, kArbStrongBytes - 20);
    std::memcpy(strong.data() + 48, arb.data() + 64, kArbRawBytes);
    storage::StoreBe32(strong.data() + 8240, WaveImageSum(strong.data(), strong.size()));
    Put("arb_file", "strong.ARB", strong);
    Put("arb_file", "raw.bin", std::vector<uint8_t>(arb.begin() + 64, arb.begin() + 64 + kArbRawBytes));
    std::vector<uint8_t> wdb(kArbWdbReadBytes, 0);
    for (int k = 0; k < 4096; ++k) {
        wdb[kArbWdbSamplesOffset + 2 * k] = arb[64 + 2 * k + 1];
        wdb[kArbWdbSamplesOffset + 2 * k + 1] = arb[64 + 2 * k];
    }
    Put("arb_file", "head.wdb", wdb);

    // The barcode table.
    ASSERT_EQ(BarcodeFileSave(), static_cast<int32_t>(kBarcodeFileSize));
    const std::string barFile = env.Root().Read("/mnt/tst/Bar/Barcode.Bar");
    std::vector<uint8_t> bar(barFile.begin(), barFile.end());
    Put("barcode_file", "valid.Bar", bar);
    Put("barcode_file", "trailer.Bar", Flipped(bar, kBarcodeFileSize - 2));
    std::vector<uint8_t> b = bar;
    b[51] = 3;  // kind
    Seal(b);
    Put("barcode_file", "kind.Bar", b);

    // Calibration pages.
    uint16_t* page = regbus::CalPage(1);
    uint16_t sum = 0;
    for (int w = 0; w < regbus::kCalChecksumWord; ++w)
        sum = static_cast<uint16_t>(sum + (page[w] = static_cast<uint16_t>(0x1234 + w * 257)));
    page[regbus::kCalChecksumWord] = sum;
    ASSERT_EQ(CalibrationFileSave(1), 1);
    const std::string calFile = env.Root().Read("/mnt/sd1/qx/Calibration_V");
    std::vector<uint8_t> cal(calFile.begin(), calFile.end());
    Put("calibration_file", "valid", cal);
    Put("calibration_file", "checksum", Flipped(cal, 7));
    Put("calibration_file", "zeros", std::vector<uint8_t>(512, 0));

    // NV blocks as their writers leave them in the memory: block 0 (the SpecialData file), settings blocks
    // 1-6 and the preset backups.
    auto nv = [](uint8_t kind, uint32_t offset, uint32_t length) {
        std::vector<uint8_t> f(1 + length);
        f[0] = kind;
        EXPECT_EQ(SpiNvmReadBuf(offset, f.data() + 1, length), static_cast<int32_t>(length));
        return f;
    };
    SpecialDataPack();
    ASSERT_GE(SpecialDataSave(0), 0);
    const std::string special = env.Root().Read("/mnt/tst/Special/SpecialData");
    std::vector<uint8_t> block0(1, 0);
    block0.insert(block0.end(), special.begin(), special.end());
    Put("nv_block", "block0-SpecialData", block0);
    std::vector<uint8_t> del = block0;
    del[1 + 67] = 1;  // the delete-all request
    NvBlockSeal(del.data() + 1, kNvIdentityUsed);
    Put("nv_block", "block0-delete-all", del);
    for (uint8_t kind = 1; kind <= 6; ++kind) {
        ASSERT_EQ(BackupBlockPackDefaults(kind - 1, 1), kNvSaved);
        Put("nv_block", "settings" + std::to_string(kind), nv(kind, NvBlockOffset(kind), kNvSettingsBlockSize));
    }
    for (uint8_t phase = 0; phase < 3; ++phase) {
        ASSERT_EQ(PresetBackupSave(phase), kNvSaved);
        Put("nv_block", "presets" + std::to_string(phase),
            nv(static_cast<uint8_t>(7 + phase), kPresetBackupOffset + phase * kNvSettingsBlockSize,
               kNvSettingsBlockSize));
    }

    // The configuration text, and copies with a wrong sum, an update mark and a long host name.
    ASSERT_GT(SaveSystemConfig(), 0);
    std::vector<uint8_t> text(kCfgTextArea);
    ASSERT_EQ(SpiNvmReadBuf(kCfgTextOffset, text.data(), kCfgTextArea), static_cast<int32_t>(kCfgTextArea));
    text.resize(strnlen(reinterpret_cast<const char*>(text.data()), kCfgTextArea));
    Put("config_text", "valid.txt", text);
    std::string t(text.begin(), text.end());
    const size_t check = t.find("CHECKSUM=");
    Put("config_text", "update.txt", [&] {
        std::string u = t.substr(0, check) + "CHECKSUM=UPDATE\n";
        return std::vector<uint8_t>(u.begin(), u.end());
    }());
    Put("config_text", "sum.txt", [&] {
        std::string u = t.substr(0, check) + "CHECKSUM=1\n";
        return std::vector<uint8_t>(u.begin(), u.end());
    }());
    Put("config_text", "hostname.txt", [&] {
        std::string u = t;
        const size_t h = u.find("HOSTNAME=") + 9;
        u.insert(h, "a-host-name-longer-than-its-field");
        return std::vector<uint8_t>(u.begin(), u.end());
    }());
}

}  // namespace
