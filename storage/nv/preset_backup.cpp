#include "storage/nv/preset_backup.h"

#include <cstdio>
#include <cstring>
#include <mutex>

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

// The phase's block as read: 0, -1 the memory failed, -200 a zero or wrong sum (in both places).
// A sound copy behind a failed block is the save that a cut stopped before it reached the copy: it
// holds the presets of the last finished save, and mends the block peers read.
int32_t ReadBlock(uint32_t p, bool* stored) {
    std::lock_guard<std::mutex> hold(NvBlockLock());
    int32_t r = ReadPlace(Offset(p));
    *stored = r == -1 || !NvAreaBlank(g_stage, kBlockSize);
    if (r != 0) {
        const int32_t copy = ReadPlace(CopyOffset(p));
        if (copy == -1 || !NvAreaBlank(g_stage, kBlockSize)) *stored = true;
        if (copy != 0) return r == -1 ? r : copy;
        // A memory that refused the read is not written to.
        if (r == -200 && !core::NvWritesDisabled()) SpiNvmWriteBuf(Offset(p), g_stage, kBlockSize);
    }
    // The RAM image is not taken: a save builds it whole from the store.
    for (uint32_t n = 0; n < kPresetCount; ++n)
        std::memcpy(PresetRecord(n, p), g_stage + kPresetBackupRecordsAt + kPresetRecordSize * n,
                    kPresetRecordSize);
    return 0;
}

int32_t LoadPhase(uint32_t p) {
    bool stored = false;
    const int32_t r = ReadBlock(p, &stored);
    if (r != 0) {
        ShowErrorMessageHold(2, "Preset Data Error");
        PresetClearPhase(p);
        // A memory never written held no presets to lose.
        if (stored) {
            char what[24];
            std::snprintf(what, sizeof what, "presets of L%u", static_cast<unsigned>(p + 1));
            StoredDataResetNote(what, r == -200 ? "stored block damaged" : "memory unreadable");
        }
    }
    return r;
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
