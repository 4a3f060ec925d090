#include "storage/nv/settings_backup.h"

#include <atomic>
#include <string>

#include "core/params/access/param_access.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/stage/wiring_codes.h"
#include "storage/data_reset_note.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_identity_convert.h"
#include "storage/nv/nv_power_on.h"
#include "storage/nv/nv_settings_convert.h"
#include "storage/nv/preset_backup.h"

namespace {

struct PhaseBlock {
    uint32_t phaseMode;
    int kind;
    uint32_t unit;
};
// Blocks of each phase mode, in the order they are saved and loaded; offsets are the kinds' own.
constexpr PhaseBlock kPhaseBlocks[] = {{0, 1, 0}, {0, 2, 1}, {0, 3, 2}, {1, 4, 0}, {2, 5, 0}, {2, 6, 1}};
std::atomic<uint32_t> g_factoryModel{0};
std::atomic<bool> g_foundInUse{false};
// Every simulated unit leaves the factory with the same serial number, so that a fresh root answers
// alike wherever it runs.
constexpr char kFactorySerial[] = "VRN-SIM-0001";
// The items whose damage the console tells (data_reset_note.h): block 0 mended from its copy, and reset.
constexpr char kIdentityMend[] = "identity block";
constexpr char kIdentityReset[] = "identity and power-on settings";

}  // namespace

int32_t BackupSaveSystem() {
    SpecialDataSync(1);
    IdentityBlockSync(1);
    return IdentityBlockWrite();
}

void SettingsBackupSaveAll() {
    const uint32_t phaseMode = g_PhaseMode.load();
    // Block 0 is whole before its first write below, so that a held block 0 compares whole images.
    SpecialDataSync(1);
    IdentityBlockSync(1);
    BackupSavePhaseSettings(phaseMode);
    PresetBackupSaveAll();
    SpecialDataSave(static_cast<uint8_t>(phaseMode));
    SaveSystemConfig();
    BackupSaveSystem();
}

int32_t IdentityBlockLoad() {
    g_foundInUse.store(false, std::memory_order_release);
    IdentityBlock block;
    int32_t r = IdentityBlockRead(&block);
    const bool damaged = r != 0 && NvBlockHeld(0);
    const uint64_t found = NvBlockReadPrint(0);
    if (r == 0) {
        StoredDataSound(kIdentityMend);
        StoredDataSound(kIdentityReset);
    }
    // A block that is not sound (a memory never written included) is mended from its file copy; a memory
    // that refuses the read is not written to.
    if (r == -200 && IdentityBlockRestore(&block) != -200) {
        const std::string line = std::string(kIdentityMend) + (damaged ? " damaged" : " empty") +
                                 ": restored from /mnt/tst/Special/SpecialData";
        if (StoredDataTell(kIdentityMend, found, line))
            ShowErrorMessageHold(2, "Identity Data Error\n(Restored from Backup)");
        r = 0;
    }
    if (r != 0) {
        if (damaged)
            StoredDataResetNote(kIdentityReset,
                                r == -200 ? "stored block damaged, no model type" : "memory unreadable",
                                found);
        g_ModelId.store(0);
        g_BrandId.store(0);
        return r;
    }
    IdentityBlockSync(0);  // forces unknown model and brand ids to 0
    g_foundInUse.store(NvBlocksInUse(), std::memory_order_release);
    return 0;
}

bool IdentityFoundInUse() {
    return g_foundInUse.load(std::memory_order_acquire);
}

int SpecialDataLoad() {
    if (!IdentityBlockImageOk()) return 0;
    SpecialDataSync(0);
    return 1;
}

int32_t BackupBlockSave(int kind, uint32_t unit, uint32_t offset) {
    if (offset != NvBlockOffset(kind)) return kNvBadKind;
    return BackupBlockPack(unit, kind, true);
}

int32_t BackupSavePhaseSettings(uint32_t phaseMode) {
    int32_t result = kNvSaved;
    for (const PhaseBlock& b : kPhaseBlocks) {
        if (b.phaseMode != phaseMode) continue;
        const int32_t r = BackupBlockSave(b.kind, b.unit, NvBlockOffset(b.kind));
        if (result == kNvSaved) result = r;
    }
    return result;
}

int32_t BackupBlockLoadChecked(int kind, uint32_t unit) {
    SettingsBlock block;
    const int32_t r = SettingsBlockRead(kind, &block);
    // Each wiring has blocks of its own for L1 and L2: the damage is remembered by block.
    const std::string key = "settings block " + std::to_string(kind);
    if (r != 0) {
        // A block never written (a new memory) is no loss worth a word; a unit in use had them all written.
        const bool held = NvBlockHeld(kind);
        if (held || NvBlocksInUse()) {
            const char* why = !held       ? "stored block erased"
                              : r == -200 ? "stored block damaged"
                                          : "memory unreadable";
            StoredDataTell(key, NvBlockReadPrint(kind),
                           "settings of L" + std::to_string(unit + 1) + " reset: " + why);
        }
        return r;
    }
    StoredDataSound(key);
    return BackupBlockConvert(0, unit, kind);
}

void BackupLoadPhaseSettings(int restore) {
    if (restore != 0) {
        IdentityBlock image;
        IdentityBlockImage(&image);
        // A phase mode the wiring tables do not know would index beyond them: it is not taken.
        if (image.phaseMode <= kWiring1P3W) g_PhaseMode.store(image.phaseMode);
    }
    const uint32_t phaseMode = g_PhaseMode.load();
    for (const PhaseBlock& b : kPhaseBlocks) {
        if (b.phaseMode == phaseMode) BackupBlockLoadChecked(b.kind, b.unit);
    }
}

void FactoryUnitRequest(uint32_t model) {
    g_factoryModel.store(model < kModelTypes ? model : 0, std::memory_order_release);
}

bool FactoryUnitIdentity() {
    const uint32_t model = g_factoryModel.exchange(0, std::memory_order_acq_rel);
    if (model == 0) return false;
    g_ModelId.store(model);
    g_BrandId.store(0);
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, kFactorySerial, sizeof kFactorySerial - 1);
    return true;
}

int32_t FactoryUnitWrite() {
    NvBlockRelease(0);  // the factory's identity is written over whatever block 0 held
    SpecialDataPack();
    IdentityBlockSync(1);
    return IdentityBlockWrite();
}
