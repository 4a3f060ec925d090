#include "storage/data_file_frame.h"

#include <cstring>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "storage/file_result.h"

namespace storage {

uint32_t DataFileSize(uint16_t kind) {
    switch (kind) {
        case kFileKindPreset:
            return 2516;
        case kFileKindSeq:
            return 1224324;
        case kFileKindSim:
            return 1972;
        case kFileKindArb:
            return 8260;
        case kFileKindBarcode:
            return 1668;
        default:
            return 0;
    }
}

uint16_t DataFileVersion(uint16_t kind) {
    switch (kind) {
        case kFileKindPreset:
        case kFileKindSeq:
            return 5;
        case kFileKindSim:
            return 4;
        default:
            return 0;
    }
}

int32_t DataFileFrameCheck(const uint8_t* image, size_t n, const DataFileRule& rule) {
    // A header cut short is caught here too: no kind is smaller than its header and trailer.
    if (image == nullptr || n != DataFileSize(rule.kind) || n < kHeaderSize + kTrailerSize)
        return kFileBadFrame;
    if (LoadBe32(image + n - kTrailerSize) != SumBytesButLast4(image, n)) return kFileBadFrame;
    if (rule.modelRejection != 0 && ModelHeaderCheck(image, rule.kind) != 1) return rule.modelRejection;
    if (LoadBe32(image + kHeaderSizeOffset) != n) return kFileBadFrame;
    if (LoadBe16(image + kHeaderWordsOffset + 2) != rule.kind) return kFileBadFrame;
    const uint16_t version = LoadBe16(image + kHeaderWordsOffset + 6);
    if (rule.versionMask != 0 && (version >= 32 || (rule.versionMask & (1u << version)) == 0))
        return kFileBadFrame;
    return 1;
}

void DataFileSeal(uint8_t* image, size_t n) {
    if (image == nullptr || n < kTrailerSize) return;
    StoreBe32(image + n - kTrailerSize, SumBytesButLast4(image, n));
}

}  // namespace storage

uint32_t SumBytesButLast4(const uint8_t* buffer, size_t n) {
    if (buffer == nullptr || n < 4) return 0;
    uint32_t sum = 0;
    for (size_t i = 0; i + 4 < n; ++i)
        sum += buffer[i];
    return sum;
}

uint32_t SumBytesFrom4(const uint8_t* buffer, size_t n) {
    if (buffer == nullptr || n < 4) return 0;
    uint32_t sum = 0;
    for (size_t i = 4; i < n; ++i)
        sum += buffer[i];
    return sum;
}

uint32_t WaveImageSum(const uint8_t* buffer, size_t n) {
    uint16_t sum = 0;
    if (buffer != nullptr && n >= 4) {
        for (size_t i = 16; i + 2 <= n - 4; i += 2)
            sum = static_cast<uint16_t>(sum + storage::LoadBe16(buffer + i));
    }
    return 65536u - sum;
}

int32_t FileNameSplit(const char* name, char* base, char* ext) {
    if (name == nullptr || base == nullptr || ext == nullptr) return -1;
    const size_t length = strnlen(name, storage::kHeaderBaseSize + 1);
    if (length > storage::kHeaderBaseSize) return -1;
    const char* dot = static_cast<const char*>(std::memchr(name, '.', length));
    const size_t baseLength = dot != nullptr ? static_cast<size_t>(dot - name) : length;
    size_t extLength = 0;
    for (size_t i = baseLength; i < length; ++i)
        extLength += name[i] != '.';
    // The extension field is followed by the base name in the header: a longer one would overwrite it.
    if (extLength > storage::kHeaderExtSize) return -1;
    std::memcpy(base, name, baseLength);
    for (size_t i = baseLength, j = 0; i < length; ++i) {
        if (name[i] != '.') ext[j++] = name[i];
    }
    return 0;
}

int32_t FileHeaderBuild(uint16_t kind, uint16_t index, uint8_t* image, const char* fileName) {
    using namespace storage;
    if (image == nullptr || kind > kFileKindArb) return -1;
    std::memset(image, 0, 84);
    char model[sizeof g_ModelName];
    IdentityTextRead(g_ModelName, sizeof model, model);
    std::memcpy(image + kHeaderModelOffset, model, strnlen(model, kHeaderModelSize));
    StoreBe32(image + kHeaderSizeOffset, DataFileSize(kind));
    if (FileNameSplit(fileName, reinterpret_cast<char*>(image + kHeaderBaseOffset),
                      reinterpret_cast<char*>(image + kHeaderExtOffset)) != 0) {
        std::memset(image, 0, kHeaderSize);
        return -1;
    }
    const uint16_t words[8] = {kHeaderMagic, kind, index, DataFileVersion(kind), 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        StoreBe16(image + kHeaderWordsOffset + 2 * i, words[i]);
    return 0;
}

int32_t ModelHeaderCheck(const uint8_t* header, uint16_t kind) {
    if (header == nullptr) return kFileBadModel;
    if (kind == kFileKindArb) return 1;
    char text[storage::kHeaderModelSize + 1] = {};
    std::memcpy(text, header + storage::kHeaderModelOffset, storage::kHeaderModelSize);
    int64_t fileModel = -1;
    for (int brand = 0; brand < 3 && fileModel < 0; ++brand) {
        for (uint32_t row = 0; row < kModelTypes; ++row) {
            if (std::strcmp(g_ModelTable[row].name[brand], text) == 0) {
                fileModel = g_ModelTable[row].index;
                break;
            }
        }
    }
    // The model names of 13 characters arrive cut to the 12 bytes of the field.
    static constexpr struct {
        const char* text;
        int id;
    } kFixed[] = {{"VRN-4145", 1}, {"VRN-4160", 2}, {"VRN-4145-13.", 4}, {"VRN-4145-22.", 5}};
    for (const auto& f : kFixed) {
        if (std::strcmp(text, f.text) == 0) fileModel = f.id;
    }
    if (fileModel < 1) return kFileBadModel;
    if (kind == kFileKindPreset || kind == kFileKindSeq || kind == kFileKindSim) {
        const uint32_t own = g_ModelId.load(std::memory_order_relaxed);
        if (ModelRowOf(own).family != kFamilyNone && fileModel < kModelTypes) return 1;
    }
    return kFileBadModel;
}
