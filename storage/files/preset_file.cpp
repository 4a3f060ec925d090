#include "storage/files/preset_file.h"

#include <cstdio>
#include <cstring>

#include "core/params/presets/preset_store.h"
#include "core/system/links/usb_state.h"
#include "storage/brand_dir.h"
#include "storage/data_file_frame.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

uint8_t g_PresetFileImg[kPresetFileSize];
char g_RejectedModelText[13];
std::recursive_mutex g_PresetFileImgLock;

namespace {

constexpr size_t kRecordsAt = storage::kHeaderSize;
constexpr uint32_t kUsbArea = 0;
// Versions of the preset file a reader takes: 0, 2 and 5.
constexpr uint32_t kVersions = (1u << 0) | (1u << 2) | (1u << 5);

bool ValidIndex(int32_t n) {
    return n >= 0 && n < static_cast<int32_t>(kPresetCount);
}

void FileName(int32_t n, char (&name)[24]) {
    std::snprintf(name, sizeof name, "Preset%d.Set", static_cast<int>(n));
}

uint8_t* ImageRecord(uint32_t p) {
    return g_PresetFileImg + kRecordsAt + kPresetRecordSize * p;
}

}  // namespace

void PresetBuildFile(int32_t n) {
    if (!ValidIndex(n)) return;
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return;
    char name[24];
    FileName(n, name);
    FileHeaderBuild(kFileKindPreset, static_cast<uint16_t>(n), g_PresetFileImg, name);
    for (uint32_t p = 0; p < kPresetPhases; ++p) {
        const uint8_t* from = PresetRecord(static_cast<uint32_t>(n), p);
        uint8_t* to = ImageRecord(p);
        std::memcpy(to, from, kPresetByteFields);
        for (uint32_t k = kPresetFirstWord; k < kPresetWordEnd; ++k)
            storage::StoreBe32(to + 4 * k, static_cast<uint32_t>(PresetWordGet(from, k)));
    }
    storage::DataFileSeal(g_PresetFileImg, kPresetFileSize);
}

int32_t PresetSaveToUsb(int32_t n) {
    if (!ValidIndex(n)) return kFileBadArgument;
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    PresetBuildFile(n);
    char name[24];
    FileName(n, name);
    return FileWriteRaw(kUsbArea, BrandDir(), name, g_PresetFileImg, kPresetFileSize);
}

int32_t PresetLoadFromUsb(int32_t n) {
    if (!ValidIndex(n)) return kFileBadArgument;
    // The size is taken before the read: an unmounted stick is refused as the read would refuse it.
    if (!UsbMemoryMounted()) return kFileMissing;
    char name[24], path[96];
    FileName(n, name);
    std::snprintf(path, sizeof path, "/mnt/%s/%s/%s", RawReadArea(kUsbArea), BrandDir(), name);
    const int32_t size = FileSize(path);
    if (size < 1) return kFileMissing;
    if (size != static_cast<int32_t>(kPresetFileSize)) return kFileBadFrame;
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    if (FileReadRaw(kUsbArea, BrandDir(), name, g_PresetFileImg, kPresetFileSize) < 1) return kFileShortRead;
    return PresetImageApply(n, kPresetFileSize);
}

int32_t PresetImageApply(int32_t n, uint32_t length) {
    if (!ValidIndex(n)) return kFileBadArgument;
    const storage::DataFileRule rule{kFileKindPreset, kVersions, kFileBadModel};
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    const int32_t frame = storage::DataFileFrameCheck(g_PresetFileImg, length, rule);
    if (frame == kFileBadModel) {
        // The field holds 12 characters with no terminator when the name fills it.
        std::memcpy(g_RejectedModelText, g_PresetFileImg + storage::kHeaderModelOffset,
                    storage::kHeaderModelSize);
        g_RejectedModelText[storage::kHeaderModelSize] = '\0';
    }
    if (frame != 1) return frame;
    for (uint32_t p = 0; p < kPresetPhases; ++p) {
        uint8_t record[kPresetRecordSize];
        const uint8_t* from = ImageRecord(p);
        std::memcpy(record, from, kPresetByteFields);
        for (uint32_t k = kPresetFirstWord; k < kPresetWordEnd; ++k)
            PresetWordPut(record, k, static_cast<int32_t>(storage::LoadBe32(from + 4 * k)));
        if (PresetRecordCheck(record, 1) != 0) return kFileBadRecord;
        std::memcpy(PresetRecord(static_cast<uint32_t>(n), p), record, kPresetRecordSize);
    }
    return 1;
}

int32_t PresetRemoteWrite(int32_t n, uint32_t length, const uint8_t* data) {
    if (!ValidIndex(n) || length == 0 || data == nullptr) return kFileBadArgument;
    if (length != kPresetFileSize) return kFileBadFrame;
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    std::memcpy(g_PresetFileImg, data, kPresetFileSize);
    return PresetImageApply(n, length);
}

uint32_t PresetRemoteRead(uint8_t* destination) {
    if (destination == nullptr) return 0;
    const storage::ImageHold held(g_PresetFileImgLock);
    if (!held.owns_lock()) return 0;
    std::memcpy(destination, g_PresetFileImg, kPresetFileSize);
    return kPresetFileSize;
}
