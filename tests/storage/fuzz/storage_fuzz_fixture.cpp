#include "tests/storage/fuzz/storage_fuzz_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/control/barcode_table.h"
#include "core/control/calibration/cal_page.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_dirty.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/config/identity.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/config/model_table.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/seqsim_slots.h"
#include "drivers/spi_nvm.h"
#include "platform/devices/spi.h"
#include "storage/brand_dir.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "storage/data_reset_note.h"
#include "storage/files/arb_file.h"
#include "storage/files/barcode_file.h"
#include "storage/files/calibration_file.h"
#include "storage/files/preset_file.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/preset_backup.h"
#include "storage/nv/settings_backup.h"
#include "storage/raw_file.h"
#include "tests/support/default_store.h"
#include "tests/support/fuzz_checks.h"

namespace storagefuzz {

namespace {

testsupport::TempRoot* g_root = nullptr;

using testsupport::Fail;
using testsupport::OneOf;

std::string Bytes(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The store as a fresh unit of model type 2 has it (what DefaultStore builds), so that an input's effect
// does not carry over into the next one.
void DefaultSettings() {
    g_BrandId = 0;
    test::DefaultSettings();
}

void Reseal(std::string& image) {
    storage::DataFileSeal(reinterpret_cast<uint8_t*>(image.data()), image.size());
}

}  // namespace

struct Environment::Parts {
    test::DefaultStore store;
};

Environment::Environment() : parts_(new Parts) {
    g_root = &parts_->store.root;
    g_UsbState.statusB.store(core::kUsbMounted);
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    if (SpiNvmInit() != 0 || plat::NvmSimErase() != 0) Fail("storage", "no NV memory");
    NvBlocksReset();
}

Environment::~Environment() {
    SpiDevClose(&g_NvSpi);
    plat::NvmSimReset();
    g_UsbState.statusB.store(0);
    g_root = nullptr;
    delete parts_;
}

void Start() {
    // Removed by its destructor when the fuzzer ends the process normally.
    static Environment environment;
}

void PresetFileOne(const uint8_t* data, size_t size) {
    auto one = [](const std::string& f) {
        const int32_t r = PresetRemoteWrite(3, static_cast<uint32_t>(f.size()),
                                            reinterpret_cast<const uint8_t*>(f.data()));
        if (!OneOf(r, {1, -1, -200, -201, -202})) Fail("preset", "unknown result");
        if ((r == -1) != f.empty()) Fail("preset", "-1 for a non-empty preset");
        if (r == -201 && strnlen(g_RejectedModelText, sizeof g_RejectedModelText) > 12)
            Fail("preset", "rejected model text unterminated");
        if (r != 1) return;
        // Every record taken passed its check or was repaired: none may fail the check afterwards.
        for (uint32_t p = 0; p < 3; ++p) {
            uint8_t record[kPresetRecordSize];
            std::memcpy(record, PresetRecord(3, p), sizeof record);
            if (PresetRecordCheck(record, 0) != 0) Fail("preset", "a taken record fails its check");
        }
    };
    std::string f = Bytes(data, size);
    one(f);
    if (f.size() == kPresetFileSize) {
        Reseal(f);
        one(f);
    }
}

void ArbFileOne(const uint8_t* data, size_t size) {
    constexpr int32_t kWave = 4;  // ARB5
    int16_t* wave = g_ArbMem[storage::ArbSlotOf(kWave)];
    std::vector<int16_t> before(wave, wave + kArbSamples);
    // A refused image leaves the wave as it was; a taken one is saved (8260 written).
    auto check = [&](const char* path, int32_t r, std::initializer_list<int32_t> refusals) {
        if (r == static_cast<int32_t>(kArbFileBytes)) {
            before.assign(wave, wave + kArbSamples);
            return;
        }
        if (!OneOf(r, refusals)) Fail(path, "unknown result");
        if (std::memcmp(before.data(), wave, kArbSamples * sizeof(int16_t)) != 0)
            Fail(path, "a refused image changed the wave");
    };
    std::string f = Bytes(data, size);
    const auto* bytes = reinterpret_cast<const uint8_t*>(f.data());
    check("arb remote", ArbRemoteWrite(kWave, static_cast<int32_t>(size), bytes), {-200});
    if (size == kArbRawBytes) check("arb raw", ArbRemoteWriteRaw(kWave, bytes), {});
    if (size == kArbFileBytes) {
        Reseal(f);
        check("arb remote", ArbRemoteWrite(kWave, static_cast<int32_t>(size), bytes), {-200});
    } else if (size == kArbStrongBytes) {
        storage::StoreBe32(reinterpret_cast<uint8_t*>(f.data()) + 8240, WaveImageSum(bytes, size));
        check("arb strong", ArbRemoteWrite(kWave, static_cast<int32_t>(size), bytes), {-200});
    }
    const std::string dir = std::string("/mnt/sd1/") + BrandDir() + "/";
    const std::string arb = g_root->path() + dir + "ARB5.ARB";
    const std::string wdb = g_root->path() + dir + "ARB5.wdb";
    std::remove(wdb.c_str());
    if (size == kArbFileBytes || size == kArbStrongBytes || size > kArbWdbReadBytes) {
        // As a file on USB memory: its size chooses the form; a size of neither form is refused.
        g_root->Write(dir + "ARB5.ARB", f);
        check("arb usb", ArbLoadFromUsb(kWave), {-200, -100, -102});
    } else if (size > 0) {
        // The head of a wdb file of its full size (the rest is never read).
        std::remove(arb.c_str());
        std::string file(static_cast<size_t>(kArbWdbBytes), '\0');
        file.replace(0, size, f);
        g_root->Write(dir + "ARB5.wdb", file);
        check("arb wdb", ArbLoadFromUsb(kWave), {});
    }
    std::remove(arb.c_str());
    std::remove(wdb.c_str());
}

void BarcodeFileOne(const uint8_t* data, size_t size) {
    auto one = [](const std::string& f) {
        g_root->Write("/mnt/tst/Bar/Barcode.Bar", f);
        char before[kBarcodeRows][kBarcodeTextLen];
        std::memcpy(before, g_BarcodeTable.rows, sizeof before);
        const int32_t r = BarcodeFileLoad();
        if (!OneOf(r, {1, -100, -102, -200})) Fail("barcode", "unknown result");
        if (r == 1) {
            if (std::memcmp(g_BarcodeTable.rows[1], f.data() + kBarcodeTextsOffset,
                            kBarcodeActions * kBarcodeTextLen) != 0)
                Fail("barcode", "texts not those of the file");
        } else if (std::memcmp(before, g_BarcodeTable.rows, sizeof before) != 0) {
            Fail("barcode", "a refused file changed the table");
        }
    };
    std::string f = Bytes(data, size);
    one(f);
    if (f.size() == kBarcodeFileSize) {
        Reseal(f);
        one(f);
    }
}

void CalibrationFileOne(const uint8_t* data, size_t size) {
    const std::string path = std::string("/mnt/sd1/") + BrandDir() + "/Calibration_V";
    auto one = [&](const std::string& f) {
        g_root->Write(path, f);
        uint16_t* page = regbus::CalPage(1);
        uint16_t before[regbus::kCalPageWords];
        std::memcpy(before, page, sizeof before);
        const int32_t r = CalibrationFileLoad(1);
        if (!OneOf(r, {1, -100, -102, -200})) Fail("calibration", "unknown result");
        if (r != 1) {
            if (std::memcmp(before, page, sizeof before) != 0) Fail("calibration", "a refused file changed the page");
            return;
        }
        if (!regbus::CalPageChecksumOk(page)) Fail("calibration", "a taken page fails its checksum");
        for (int w = 0; w < regbus::kCalPageWords; ++w)
            if (page[w] != storage::LoadLe(reinterpret_cast<const uint8_t*>(f.data()) + 2 * w, 2))
                Fail("calibration", "page not that of the file");
    };
    std::string f = Bytes(data, size);
    one(f);
    if (f.size() == 2 * regbus::kCalPageWords) {
        auto* b = reinterpret_cast<uint8_t*>(f.data());
        uint16_t sum = 0;
        for (int w = 0; w < regbus::kCalChecksumWord; ++w)
            sum = static_cast<uint16_t>(sum + storage::LoadLe(b + 2 * w, 2));
        b[2 * regbus::kCalChecksumWord] = static_cast<uint8_t>(sum);
        b[2 * regbus::kCalChecksumWord + 1] = static_cast<uint8_t>(sum >> 8);
        one(f);
    }
}

void NvBlockOne(const uint8_t* data, size_t size) {
    if (size < 1) return;
    const int kind = data[0] % 10;
    const uint32_t offset = kind <= 6 ? NvBlockOffset(kind) : kPresetBackupOffset + (kind - 7) * kNvSettingsBlockSize;
    const uint32_t area = kind == 0 ? kNvIdentityStage : kNvSettingsBlockSize;
    const uint32_t used = kind == 0 ? kNvIdentityUsed : kNvSettingsBlockSize;
    std::vector<uint8_t> image(area, 0);
    std::memcpy(image.data(), data + 1, std::min<size_t>(size - 1, area));
    // Block 0 is also mended from its file copy, which holds the image; the memory holds `stored`.
    auto one = [&](const std::vector<uint8_t>& stored) {
        DefaultSettings();
        NvBlocksReset();
        if (SpiNvmWriteBuf(offset, stored.data(), area) != static_cast<int32_t>(area))
            Fail("nv", "write failed");
        if (kind == 0 &&
            FileWriteRaw(1, "Special", "SpecialData", image.data(), area) != static_cast<int32_t>(area))
            Fail("nv block 0", "copy not written");
        if (kind == 0) {
            const int32_t r = IdentityBlockLoad();
            if (!OneOf(r, {0, -1, -200})) Fail("nv block 0", "unknown result");
            if (g_ModelId.load() >= 12 || g_BrandId.load() > 2) Fail("nv block 0", "identity out of range");
            SpecialDataLoad();
            BackupLoadPhaseSettings(1);
            if (g_PhaseMode.load() > 2) Fail("nv block 0", "phase mode out of range");
        } else if (kind <= 6) {
            static constexpr uint32_t kUnit[7] = {0, 0, 1, 2, 0, 0, 1};
            const int32_t r = BackupBlockLoadChecked(kind, kUnit[kind]);
            if (!OneOf(r, {0, -1, -200})) Fail("nv settings", "unknown result");
        } else {
            const int32_t r = PresetBackupLoad(kind - 7);
            if (!OneOf(r, {0, -1, -200})) Fail("nv presets", "unknown result");
        }
    };
    one(image);
    NvBlockSeal(image.data(), used);
    one(image);
    if (kind == 0) one(std::vector<uint8_t>(area, 0xFF));  // an erased block 0 beside a sound copy
}

void ConfigTextOne(const uint8_t* data, size_t size) {
    const sysadmin::LanCfg lanBefore = g_LanCfg;
    const core::LanPending pendingBefore = g_LanPending;
    const core::SeqSimSlots slotsBefore = g_SeqSimSlots;
    auto one = [](const std::string& text) {
        std::vector<uint8_t> area(kCfgTextArea, 0);
        std::memcpy(area.data(), text.data(), std::min<size_t>(text.size(), kCfgTextArea));
        if (SpiNvmWriteBuf(kCfgTextOffset, area.data(), kCfgTextArea) != static_cast<int32_t>(kCfgTextArea))
            Fail("config", "write failed");
        const int32_t r = LoadSystemConfig();
        if (r < -1) Fail("config", "unknown result");
        if (strnlen(g_LanCfg.HOSTNAME, sizeof g_LanCfg.HOSTNAME) >= sizeof g_LanCfg.HOSTNAME)
            Fail("config", "host name unterminated");
        if (r < 0) return;
        // Whatever was taken is saved as a text that loads again.
        if (SaveSystemConfig() < 1) Fail("config", "taken settings not saved");
        if (LoadSystemConfig() < 0) Fail("config", "saved text refused");
    };
    std::string text = Bytes(data, size);
    one(text);
    // The same text with its checksum line made right: the signed byte sum of the text from the
    // "VERSION=" line to the "CHECKSUM=" line.
    auto lineStart = [&](const char* key) -> size_t {
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
            if (at == 0 || text[at - 1] == '\n') return at;
        return std::string::npos;
    };
    const size_t version = lineStart("VERSION=");
    const size_t check = lineStart("CHECKSUM=");
    if (version != std::string::npos && check != std::string::npos && version < check &&
        check < kCfgTextArea) {
        uint16_t sum = 0;
        for (size_t i = version; i < check; ++i)
            sum = static_cast<uint16_t>(sum + static_cast<int8_t>(text[i]));
        const size_t end = text.find('\n', check);
        text = text.substr(0, check) + "CHECKSUM=" + std::to_string(sum) +
               (end == std::string::npos ? "\n" : text.substr(end));
        one(text);
    }
    std::lock_guard<std::mutex> lan(g_LanCfgLock);
    g_LanCfg = lanBefore;
    g_LanPending = pendingBefore;
    g_SeqSimSlots = slotsBefore;
}

void ToldRecordOne(const uint8_t* data, size_t size) {
    constexpr char kPath[] = "/mnt/tst/Special/DamageTold";
    const auto record = StoredDataToldParse(data, size);
    if (record.size() > 64) Fail("told", "more entries than the record holds");
    for (size_t i = 0; i < record.size(); ++i) {
        const std::string& key = record[i].first;
        if (key.empty() || key.size() > 63) Fail("told", "key of a length no note has");
        for (const char c : key)
            if (c < 0x20 || c > 0x7E) Fail("told", "key with an unprintable character");
        for (size_t j = 0; j < i; ++j)
            if (record[j].first == key) Fail("told", "key twice");
    }
    // Through the file: a remembered damage is not said again, and a sound item is forgotten.
    g_root->Write(kPath, Bytes(data, size));
    for (const auto& [key, print] : record)
        if (StoredDataTell(key, print, key)) Fail("told", "a remembered damage said again");
    for (const auto& entry : record)
        StoredDataSound(entry.first);
    const std::string left = g_root->Read(kPath);
    if (!StoredDataToldParse(reinterpret_cast<const uint8_t*>(left.data()), left.size()).empty())
        Fail("told", "a sound item still remembered");
}

}  // namespace storagefuzz
