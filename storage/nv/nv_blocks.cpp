#include "storage/nv/nv_blocks.h"

#include <cstring>
#include <mutex>
#include <string_view>

#include "core/system/state/service_flags.h"
#include "drivers/spi_nvm.h"
#include "storage/byte_order.h"
#include "storage/data_file_frame.h"
#include "storage/data_reset_note.h"
#include "storage/nv/nv_hold.h"
#include "storage/raw_file.h"

using storage::LoadLe;
using storage::StoreLe;

namespace {

std::mutex g_lock;  // images, staging buffers, kept sums and the memory's command sequences
uint8_t g_identityImage[kNvIdentityUsed];
uint8_t g_identityStage[kNvIdentityStage];
uint8_t g_settingsImage[6][kNvSettingsBlockSize];
uint8_t g_settingsStage[kNvSettingsBlockSize];
uint32_t g_keptSum[7];
uint64_t g_readPrint[7];

bool SettingsKind(int kind) {
    return kind >= 1 && kind <= 6;
}

// Seals the image and stages it; returns the sum. Called with the lock held.
uint32_t SealAndStage(uint8_t* image, uint32_t used, uint8_t* stage, uint32_t stageLen) {
    uint32_t sum = NvBlockSeal(image, used);
    std::memset(stage, 0, stageLen);
    std::memcpy(stage, image, used);
    return sum;
}

constexpr char kCopyDir[] = "Special";
constexpr char kCopyName[] = "SpecialData";

// Block 0's staged 512 bytes to its copy on the internal store, from which a damaged block 0 is mended.
int32_t WriteIdentityCopyLocked() {
    const int32_t f = FileWriteRaw(1, kCopyDir, kCopyName, g_identityStage, kNvIdentityStage);
    return f < 0 ? f : kNvSaved;
}

// Seals the image, stages it and writes the staging buffer (block 0 also to its copy). Called with the
// lock held.
int32_t WriteLocked(int kind, uint8_t* image, uint32_t used, uint8_t* stage, uint32_t stageLen) {
    uint32_t sum = SealAndStage(image, used, stage, stageLen);
    if (core::NvWritesDisabled()) return kNvNotWritten;
    // While block 0 is held the unit runs without its model type, on limits of no model: settings built
    // on those would overwrite good blocks with values the mended unit cannot use.
    if (kind != 0 && NvHoldIsHeld(0)) return kNvHeld;
    if (NvHoldBack(kind, std::string_view(reinterpret_cast<const char*>(image), used))) return kNvHeld;
    if (SpiNvmWriteBuf(NvBlockOffset(kind), stage, stageLen) != static_cast<int32_t>(stageLen)) {
        g_keptSum[kind] = 0;  // what the memory holds is unknown now
        return kNvWriteFailed;
    }
    g_keptSum[kind] = sum;
    return kind == 0 ? WriteIdentityCopyLocked() : kNvSaved;
}

int32_t ReadLocked(int kind, uint8_t* image, uint32_t used, uint8_t* stage, uint32_t stageLen) {
    if (SpiNvmReadBuf(NvBlockOffset(kind), stage, stageLen) != static_cast<int32_t>(stageLen)) {
        NvHoldSet(kind, true);  // what the memory holds is unknown, so it may be worth keeping
        g_readPrint[kind] = kPrintUnreadable;
        return -1;
    }
    g_readPrint[kind] = StoredDataPrint(stage, stageLen);
    if (!NvBlockSumOk(stage, used)) {
        NvHoldSet(kind, !NvAreaBlank(stage, stageLen));
        return -200;
    }
    NvHoldSet(kind, false);
    std::memcpy(image, stage, used);
    g_keptSum[kind] = LoadLe(image, 4);
    return 0;
}

}  // namespace

uint32_t NvBlockOffset(int kind) {
    if (kind == 0) return 0;
    if (SettingsKind(kind)) return 4096 + kNvSettingsBlockSize * static_cast<uint32_t>(kind - 1);
    return 0;
}

void IdentityBlockPack(const IdentityBlock& in, uint8_t* image) {
    std::memset(image, 0, kNvIdentityUsed);
    image[6] = in.modelId;
    image[7] = in.brandId;
    std::memcpy(image + 8, in.serial, sizeof in.serial);
    std::memcpy(image + 24, in.mac, sizeof in.mac);
    image[44] = in.phaseMode;
    image[45] = in.factoryAccess;
    std::memcpy(image + 58, in.powerOn, sizeof in.powerOn);
    StoreLe(image + 96, in.peakHoldTime, 4);
    StoreLe(image + 100, in.usbWord, 4);
    StoreLe(image + 104, in.trigWidth, 4);
    for (int i = 0; i < 6; ++i)
        StoreLe(image + 108 + 4 * i, static_cast<uint32_t>(in.lr[i]), 4);
}

void IdentityBlockUnpack(const uint8_t* image, IdentityBlock* out) {
    out->modelId = image[6];
    out->brandId = image[7];
    std::memcpy(out->serial, image + 8, sizeof out->serial);
    std::memcpy(out->mac, image + 24, sizeof out->mac);
    out->phaseMode = image[44];
    out->factoryAccess = image[45];
    std::memcpy(out->powerOn, image + 58, sizeof out->powerOn);
    out->peakHoldTime = LoadLe(image + 96, 4);
    out->usbWord = LoadLe(image + 100, 4);
    out->trigWidth = LoadLe(image + 104, 4);
    for (int i = 0; i < 6; ++i)
        out->lr[i] = static_cast<int32_t>(LoadLe(image + 108 + 4 * i, 4));
}

void SettingsBlockPack(const SettingsBlock& in, uint8_t* image) {
    std::memset(image, 0, kNvSettingsBlockSize);
    std::memcpy(image + kSettingsFirstByte, in.bytes, sizeof in.bytes);
    for (size_t i = 0; i < sizeof in.words / sizeof in.words[0]; ++i)
        StoreLe(image + 4 * (kSettingsFirstWord + i), static_cast<uint32_t>(in.words[i]), 4);
}

void SettingsBlockUnpack(const uint8_t* image, SettingsBlock* out) {
    std::memcpy(out->bytes, image + kSettingsFirstByte, sizeof out->bytes);
    for (size_t i = 0; i < sizeof out->words / sizeof out->words[0]; ++i)
        out->words[i] = static_cast<int32_t>(LoadLe(image + 4 * (kSettingsFirstWord + i), 4));
}

uint32_t NvBlockSeal(uint8_t* image, size_t used) {
    StoreLe(image + 4, kNvBlockTag, 2);
    uint32_t sum = SumBytesFrom4(image, used);
    StoreLe(image, sum, 4);
    return sum;
}

bool NvBlockSumOk(const uint8_t* image, size_t used) {
    uint32_t stored = LoadLe(image, 4);
    return stored != 0 && stored == SumBytesFrom4(image, used);
}

int32_t IdentityBlockSave(const IdentityBlock& in) {
    std::lock_guard<std::mutex> hold(g_lock);
    IdentityBlockPack(in, g_identityImage);
    return WriteLocked(0, g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
}

int32_t SettingsBlockSave(int kind, const SettingsBlock& in) {
    if (!SettingsKind(kind)) return kNvBadKind;
    std::lock_guard<std::mutex> hold(g_lock);
    uint8_t* image = g_settingsImage[kind - 1];
    SettingsBlockPack(in, image);
    return WriteLocked(kind, image, kNvSettingsBlockSize, g_settingsStage, kNvSettingsBlockSize);
}

int32_t IdentityBlockEdit(const std::function<void(IdentityBlock&)>& edit, bool write) {
    std::lock_guard<std::mutex> hold(g_lock);
    IdentityBlock block;
    IdentityBlockUnpack(g_identityImage, &block);
    edit(block);
    IdentityBlockPack(block, g_identityImage);
    if (write) return WriteLocked(0, g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
    SealAndStage(g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
    return kNvNotWritten;
}

int32_t SettingsBlockEdit(int kind, const std::function<void(SettingsBlock&)>& edit, bool write) {
    if (!SettingsKind(kind)) return kNvBadKind;
    std::lock_guard<std::mutex> hold(g_lock);
    uint8_t* image = g_settingsImage[kind - 1];
    SettingsBlock block;
    SettingsBlockUnpack(image, &block);
    edit(block);
    SettingsBlockPack(block, image);
    if (write) return WriteLocked(kind, image, kNvSettingsBlockSize, g_settingsStage, kNvSettingsBlockSize);
    SealAndStage(image, kNvSettingsBlockSize, g_settingsStage, kNvSettingsBlockSize);
    return kNvNotWritten;
}

int32_t IdentityBlockWrite() {
    std::lock_guard<std::mutex> hold(g_lock);
    return WriteLocked(0, g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
}

void IdentityBlockImage(IdentityBlock* out) {
    std::lock_guard<std::mutex> hold(g_lock);
    IdentityBlockUnpack(g_identityImage, out);
}

bool IdentityBlockImageOk() {
    std::lock_guard<std::mutex> hold(g_lock);
    return NvBlockSumOk(g_identityImage, kNvIdentityUsed);
}

int32_t SettingsBlockImage(int kind, SettingsBlock* out) {
    if (!SettingsKind(kind)) return kNvBadKind;
    std::lock_guard<std::mutex> hold(g_lock);
    SettingsBlockUnpack(g_settingsImage[kind - 1], out);
    return 0;
}

int32_t IdentityBlockRead(IdentityBlock* out) {
    std::lock_guard<std::mutex> hold(g_lock);
    int32_t r = ReadLocked(0, g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
    if (r == 0) IdentityBlockUnpack(g_identityImage, out);
    return r;
}

int32_t SettingsBlockRead(int kind, SettingsBlock* out) {
    if (!SettingsKind(kind)) return kNvBadKind;
    std::lock_guard<std::mutex> hold(g_lock);
    uint8_t* image = g_settingsImage[kind - 1];
    int32_t r = ReadLocked(kind, image, kNvSettingsBlockSize, g_settingsStage, kNvSettingsBlockSize);
    if (r == 0) SettingsBlockUnpack(image, out);
    return r;
}

int32_t SettingsBlockRebaseWrite(int kind, const SettingsRebase& in, uint32_t offset) {
    if (!SettingsKind(kind) || offset > kNvmSize - kNvSettingsBlockSize) return kNvBadKind;
    std::lock_guard<std::mutex> hold(g_lock);
    uint8_t* image = g_settingsImage[kind - 1];
    int32_t r = ReadLocked(kind, image, kNvSettingsBlockSize, g_settingsStage, kNvSettingsBlockSize);
    if (r == -1) return kNvWriteFailed;
    if (r != 0) return r;
    for (size_t i = 0; i < sizeof in.words / sizeof in.words[0]; ++i)
        StoreLe(image + 4 * (kSettingsRebaseFirstWord + i), static_cast<uint32_t>(in.words[i]), 4);
    image[6] = image[7] = 0;
    std::memset(image + 98, 0, 264 - 98);
    std::memset(image + 4 * 294, 0, 4 * (1984 - 294));
    uint32_t sum = NvBlockSeal(image, kNvSettingsBlockSize);
    std::memcpy(g_settingsStage, image, kNvSettingsBlockSize);
    if (core::NvWritesDisabled()) return kNvNotWritten;
    if (NvHoldIsHeld(0)) return kNvHeld;  // as WriteLocked
    if (SpiNvmWriteBuf(offset, g_settingsStage, kNvSettingsBlockSize) !=
        static_cast<int32_t>(kNvSettingsBlockSize)) {
        g_keptSum[kind] = 0;
        return kNvWriteFailed;
    }
    g_keptSum[kind] = sum;
    return kNvSaved;
}

int32_t SpecialDataSave(uint8_t phaseMode) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_identityImage[44] = phaseMode;
    return WriteLocked(0, g_identityImage, kNvIdentityUsed, g_identityStage, kNvIdentityStage);
}

int32_t IdentityBlockRestore(IdentityBlock* out) {
    uint8_t copy[kNvIdentityStage];
    if (FileReadRaw(1, kCopyDir, kCopyName, copy, sizeof copy) != static_cast<int32_t>(sizeof copy) ||
        !NvBlockSumOk(copy, kNvIdentityUsed))
        return -200;
    std::lock_guard<std::mutex> hold(g_lock);
    std::memcpy(g_identityStage, copy, kNvIdentityStage);
    std::memcpy(g_identityImage, copy, kNvIdentityUsed);
    NvHoldSet(0, false);
    IdentityBlockUnpack(g_identityImage, out);
    if (core::NvWritesDisabled()) return kNvNotWritten;
    if (SpiNvmWriteBuf(0, g_identityStage, kNvIdentityStage) != static_cast<int32_t>(kNvIdentityStage)) {
        g_keptSum[0] = 0;
        return kNvWriteFailed;
    }
    g_keptSum[0] = LoadLe(g_identityImage, 4);
    return kNvSaved;
}

uint64_t NvBlockReadPrint(int kind) {
    std::lock_guard<std::mutex> hold(g_lock);
    return kind >= 0 && kind <= 6 ? g_readPrint[kind] : 0;
}

bool NvBlocksInUse() {
    std::lock_guard<std::mutex> hold(g_lock);
    IdentityBlock block;
    IdentityBlockUnpack(g_identityImage, &block);
    return NvBlockSumOk(g_identityImage, kNvIdentityUsed) && block.modelId != 0;
}

bool NvBlockHeld(int kind) {
    std::lock_guard<std::mutex> hold(g_lock);
    return kind >= 0 && kind <= 6 && NvHoldIsHeld(kind);
}

std::mutex& NvBlockLock() {
    return g_lock;
}

void NvBlockRelease(int kind) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (kind >= 0 && kind <= 6) NvHoldRelease(kind);
}

uint32_t NvBlockKeptSum(int kind) {
    std::lock_guard<std::mutex> hold(g_lock);
    return kind >= 0 && kind <= 6 ? g_keptSum[kind] : 0;
}

void NvBlocksReset() {
    std::lock_guard<std::mutex> hold(g_lock);
    std::memset(g_identityImage, 0, sizeof g_identityImage);
    std::memset(g_identityStage, 0, sizeof g_identityStage);
    std::memset(g_settingsImage, 0, sizeof g_settingsImage);
    std::memset(g_settingsStage, 0, sizeof g_settingsStage);
    std::memset(g_keptSum, 0, sizeof g_keptSum);
    std::memset(g_readPrint, 0, sizeof g_readPrint);
    NvHoldResetAll();
}
