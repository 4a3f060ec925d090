#include "storage/nv/preset_backup.h"

#include <cstring>
#include <mutex>
#include <string>

#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_nvm.h"
#include "storage/data_reset_note.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_hold.h"

namespace {

constexpr uint32_t kBlockSize = kNvSettingsBlockSize;
constexpr uint32_t kRecordsBytes = kPresetCount * kPresetRecordSize;
static_assert(kPresetBackupRecordsAt + kRecordsBytes == kBlockSize);

// Images and the shared staging buffer, guarded by the block store's lock.
uint8_t g_image[kPresetPhases][kBlockSize];
uint8_t g_stage[kBlockSize];
uint8_t g_stored[kBlockSize];  // the block as the memory holds it, read before a save
constexpr uint64_t kPrintMix = 1099511628211ull;  // joins the prints of the block and its copy

bool ValidPhase(int32_t phase) {
    return phase >= 0 && phase < static_cast<int32_t>(kPresetPhases);
}

uint32_t Offset(uint32_t phase) {
    return kPresetBackupOffset + kBlockSize * phase;
}

uint32_t CopyOffset(uint32_t phase) {
    return kPresetBackupCopyOffset + kBlockSize * phase;
}

// The block at `at` into the staging buffer: 0, -1 the memory failed, -200 a zero or wrong sum.
// Called with the lock held.
int32_t ReadPlace(uint32_t at) {
    if (SpiNvmReadBuf(at, g_stage, kBlockSize) != static_cast<int32_t>(kBlockSize)) return -1;
    return NvBlockSumOk(g_stage, kBlockSize) ? 0 : -200;
}

// Writes the staged block at `at` unless the memory already holds it. The sum is cleared first and
// written last, so that a cut between the transfers leaves a block that fails its sum, never old and
// new records under a sum that happens to match them. A block that already holds these bytes is not
// written again: a cut during a needless rewrite would tear it. Called with the lock held.
bool WritePlace(uint32_t at) {
    if (SpiNvmReadBuf(at, g_stored, kBlockSize) == static_cast<int32_t>(kBlockSize) &&
        std::memcmp(g_stored, g_stage, kBlockSize) == 0)
        return true;
    const uint8_t noSum[4] = {};
    return SpiNvmWriteBuf(at, noSum, 4) == 4 &&
           SpiNvmWriteBuf(at + 4, g_stage + 4, kBlockSize - 4) == static_cast<int32_t>(kBlockSize - 4) &&
           SpiNvmWriteBuf(at, g_stage, 4) == 4;
}

// What the load of a phase's block found.
struct Found {
    int32_t result = 0;      // 0 loaded, -1 the memory refused the read, -200 neither place sound
    bool stored = false;     // the block or its copy held bytes (the memory was written there)
    bool mended = false;     // the block failed and its sound copy was taken
    const char* state = "";  // the block's, when it failed: "damaged", "empty" or "unreadable"
    uint64_t print = 0;      // of what the block (and, when it failed, its copy) held
};

// Reads the phase's block. A sound copy behind a failed block is the save that a cut stopped before it
// reached the copy: it holds the presets of the last finished save, and mends the block peers read.
Found ReadBlock(uint32_t p) {
    std::lock_guard<std::mutex> hold(NvBlockLock());
    Found f;
    const int32_t r = ReadPlace(Offset(p));
    const bool blank = r != -1 && NvAreaBlank(g_stage, kBlockSize);
    f.stored = !blank;
    f.print = r == -1 ? kPrintUnreadable : StoredDataPrint(g_stage, kBlockSize);
    f.state = r == -1 ? "unreadable" : blank ? "empty" : "damaged";
    if (r != 0) {
        const int32_t copy = ReadPlace(CopyOffset(p));
        if (copy == -1 || !NvAreaBlank(g_stage, kBlockSize)) f.stored = true;
        // Both places make the print: a damage stands as long as neither changes.
        f.print =
            f.print * kPrintMix ^ (copy == -1 ? kPrintUnreadable : StoredDataPrint(g_stage, kBlockSize));
        if (copy != 0) {
            f.result = r == -1 ? r : copy;
            return f;
        }
        f.mended = true;
        // A memory that refused the read is not written to.
        if (r == -200 && !core::NvWritesDisabled()) SpiNvmWriteBuf(Offset(p), g_stage, kBlockSize);
    }
    // The RAM image is not taken: a save builds it whole from the store.
    for (uint32_t n = 0; n < kPresetCount; ++n)
        std::memcpy(PresetRecord(n, p), g_stage + kPresetBackupRecordsAt + kPresetRecordSize * n,
                    kPresetRecordSize);
    return f;
}

int32_t LoadPhase(uint32_t p) {
    const bool inUse = NvBlocksInUse();
    const Found f = ReadBlock(p);
    const std::string phase = "L" + std::to_string(p + 1);
    const std::string mendKey = "preset block of " + phase;
    const std::string resetKey = "presets of " + phase;
    if (f.result == 0) {
        StoredDataSound(resetKey);
        if (!f.mended) {
            StoredDataSound(mendKey);
        } else if (StoredDataTell(mendKey, f.print, mendKey + " " + f.state + ": restored from its copy")) {
            ShowErrorMessageHold(2, "Preset Data Error\n(Restored from Backup)");
        }
        return 0;
    }
    PresetClearPhase(p);
    // A memory never written held no presets to lose; a unit in use had every block written. The popup of a
    // memory never written is the one every start shows; a loss shows it when it is told.
    bool popup = true;
    if (f.stored || inUse) {
        const char* why = f.result == -1 ? "memory unreadable"
                          : f.stored     ? "stored block damaged"
                                         : "stored block erased";
        popup = StoredDataResetNote(resetKey, why, f.print);
    }
    if (popup) ShowErrorMessageHold(2, "Preset Data Error");
    return f.result;
}

void TakeClearRequest() {
    if (!SysStatusTest(kSysResetSaveRequest)) return;
    PresetClearAll();
    SysStatusClear(kSysResetSaveRequest);
}

}  // namespace

int32_t PresetBackupSave(int32_t phase) {
    if (!ValidPhase(phase)) return kNvBadKind;
    const auto p = static_cast<uint32_t>(phase);
    std::lock_guard<std::mutex> hold(NvBlockLock());
    uint8_t* image = g_image[p];
    std::memset(image + 6, 0, kPresetBackupRecordsAt - 6);
    for (uint32_t n = 0; n < kPresetCount; ++n)
        std::memcpy(image + kPresetBackupRecordsAt + kPresetRecordSize * n, PresetRecord(n, p),
                    kPresetRecordSize);
    NvBlockSeal(image, kBlockSize);
    std::memcpy(g_stage, image, kBlockSize);
    if (core::NvWritesDisabled()) return kNvNotWritten;
    // Records held within the limits of no model type while block 0 is held: not worth the good ones.
    if (NvHoldIsHeld(0)) return kNvHeld;
    // The block first, then its copy: a cut while either is written leaves the other whole, the old
    // presets or the new ones.
    if (!WritePlace(Offset(p)) || !WritePlace(CopyOffset(p))) return kNvWriteFailed;
    return kNvSaved;
}

int32_t PresetBackupSaveAll() {
    int32_t result = kNvSaved;
    for (int32_t p = 0; p < static_cast<int32_t>(kPresetPhases); ++p) {
        const int32_t r = PresetBackupSave(p);
        if (result == kNvSaved) result = r;
    }
    return result;
}

int32_t PresetBackupLoad(int32_t phase) {
    if (!ValidPhase(phase)) return kNvBadKind;
    const int32_t r = LoadPhase(static_cast<uint32_t>(phase));
    TakeClearRequest();
    return r;
}

void PresetBackupLoadAll() {
    for (uint32_t p = 0; p < kPresetPhases; ++p)
        LoadPhase(p);
    TakeClearRequest();
}

int32_t PresetPhaseModeOf(int32_t n) {
    if (n < 0 || n >= static_cast<int32_t>(kPresetCount)) return -1;
    return static_cast<int8_t>(PresetRecord(static_cast<uint32_t>(n), 0)[kPresetPhaseMode]);
}
