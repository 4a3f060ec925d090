#include "storage/files/arb_file.h"

#include <cstdio>
#include <cstring>

#include "core/control/output_request.h"
#include "core/params/waves/arb_mem.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/access/param_access.h"
#include "core/params/limits/wave_crest.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "storage/data_file_frame.h"
#include "storage/file_result.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

uint8_t g_ArbFileImg[kArbFileBytes];
uint8_t g_ArbImportImg[kArbStrongBytes];
std::atomic<uint8_t> g_ArbImportWasWdb{0};
std::recursive_mutex g_ArbFileImgLock;

namespace {
using storage::ArbSlotOf;
constexpr size_t kSamplesOffset = storage::kHeaderSize;
constexpr size_t kStrongSizeOffset = 12;
constexpr size_t kStrongSamplesOffset = 48;
constexpr size_t kStrongSumOffset = 8240;
constexpr char kStrongTag[] = "F001Strong";

bool ValidIndex(int32_t i) {
    return i >= 0 && i < kArbWaves;
}

void StoreBeSamples(int32_t i, const uint8_t* from) {
    int16_t* slot = g_ArbMem[ArbSlotOf(i)];
    for (int k = 0; k < kArbSamples; ++k)
        slot[k] = static_cast<int16_t>(storage::LoadBe16(from + 2 * k));
}

}  // namespace

namespace storage {
void ArbLimitRebuild() {
    ArbAcvLimitUpdateAll();
    for (uint32_t mode = 0; mode < 10; ++mode) {
        FreqLimitCheck(mode);
        VoltSettingCheckAll(mode, 0);
        VoltSettingCheckAll(mode, 1);
    }
}
}  // namespace storage

int32_t ArbBuildFile(int32_t i) {
    if (!ValidIndex(i)) return kFileBadArgument;
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    char name[16];
    std::snprintf(name, sizeof name, "ARB%d.ARB", i + 1);
    FileHeaderBuild(kFileKindArb, static_cast<uint16_t>(i + 1), g_ArbFileImg, name);
    const int16_t* slot = g_ArbMem[ArbSlotOf(i)];
    for (int k = 0; k < kArbSamples; ++k)
        storage::StoreBe16(g_ArbFileImg + kSamplesOffset + 2 * k, static_cast<uint16_t>(slot[k]));
    storage::DataFileSeal(g_ArbFileImg, kArbFileBytes);
    return 0;
}

int32_t ArbLoadFile(int32_t i, int32_t length) {
    if (!ValidIndex(i)) return kFileBadArgument;
    // Version 0 only; the model text of a waveform is never checked.
    const storage::DataFileRule rule{kFileKindArb, 1u << 0, 0};
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    if (length < 0 || storage::DataFileFrameCheck(g_ArbFileImg, static_cast<size_t>(length), rule) != 1)
        return kFileBadFrame;
    StoreBeSamples(i, g_ArbFileImg + kSamplesOffset);
    return 1;
}

int32_t ArbImportStrongImage(int32_t i, int32_t length) {
    if (!ValidIndex(i)) return kFileBadArgument;
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    if (storage::LoadBe32(g_ArbImportImg + kStrongSumOffset) != WaveImageSum(g_ArbImportImg, kArbStrongBytes))
        return kFileBadFrame;
    if (std::memcmp(g_ArbImportImg, kStrongTag, 10) != 0) return kFileBadFrame;
    if (static_cast<int64_t>(storage::LoadBe32(g_ArbImportImg + kStrongSizeOffset)) + 20 != length)
        return kFileBadFrame;
    StoreBeSamples(i, g_ArbImportImg + kStrongSamplesOffset);
    return 1;
}

int32_t ArbSaveFile(int32_t i, int32_t rebuild) {
    if (!ValidIndex(i)) return kFileBadArgument;
    const int slot = ArbSlotOf(i);
    if (OutputFlagTest(kOutFlagOutputOn) && GetWaveformSel() == slot) {
        g_ArbChanged.flags.fetch_or(core::kArbStartDelay | core::kArbOutputOnAfter,
                                    std::memory_order_release);
        SetOutputOnOff(0);
    }
    core::ParamSetWaveFactor(static_cast<uint32_t>(slot), WaveCrestFactor(static_cast<uint32_t>(slot)));
    g_ArbChanged.pendingTable.store(static_cast<uint16_t>(slot + 1), std::memory_order_release);
    g_ArbChanged.flags.fetch_or(core::kArbWriteFactorTable, std::memory_order_release);
    if (rebuild == 1) storage::ArbLimitRebuild();
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock() || ArbBuildFile(i) != 0) return kFileBadArgument;
    char name[16];
    std::snprintf(name, sizeof name, "ARB%d.ARB", i + 1);
    return FileWriteRaw(1, "ARB", name, g_ArbFileImg, kArbFileBytes);
}

int32_t ArbRemoteWrite(int32_t i, int32_t length, const uint8_t* data) {
    if (!ValidIndex(i) || data == nullptr) return kFileBadArgument;
    int32_t loaded;
    {
        const storage::ImageHold held(g_ArbFileImgLock);
        if (!held.owns_lock()) return kFileBadArgument;
        if (length == static_cast<int32_t>(kArbFileBytes)) {
            std::memcpy(g_ArbFileImg, data, kArbFileBytes);
            loaded = ArbLoadFile(i, length);
        } else if (length == static_cast<int32_t>(kArbStrongBytes)) {
            std::memcpy(g_ArbImportImg, data, kArbStrongBytes);
            loaded = ArbImportStrongImage(i, length);
        } else {
            return kFileBadFrame;
        }
    }
    // Saved outside the hold: the save switches the output off and rebuilds the limits first, and takes
    // the image again only for its own build and write.
    return loaded < 0 ? loaded : ArbSaveFile(i, 1);
}

int32_t ArbRemoteWriteRaw(int32_t i, const uint8_t* data) {
    if (!ValidIndex(i) || data == nullptr) return kFileBadArgument;
    StoreBeSamples(i, data);
    return ArbSaveFile(i, 1);
}

int32_t ArbRemoteRead(uint8_t* destination) {
    if (destination == nullptr) return kFileBadArgument;
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    std::memcpy(destination, g_ArbFileImg, kArbFileBytes);
    return static_cast<int32_t>(kArbFileBytes);
}
