#pragma once
// The frame every binary data file shares: a 64-byte header, a body of big-endian numbers and a 32-bit
// big-endian trailer holding the byte sum of everything before it. Every multi-byte number is stored and
// read byte by byte, so the host's byte order never reaches a file.
#include <cstddef>
#include <cstdint>

#include "storage/byte_order.h"

enum DataFileKind : uint16_t {
    kFileKindPreset = 0,
    kFileKindSeq = 1,
    kFileKindSim = 2,
    kFileKindArb = 3,
    kFileKindBarcode = 100,
};

namespace storage {

constexpr size_t kHeaderSize = 64;
constexpr size_t kTrailerSize = 4;
constexpr size_t kHeaderModelOffset = 0;
constexpr size_t kHeaderModelSize = 12;
constexpr size_t kHeaderSizeOffset = 12;
constexpr size_t kHeaderExtOffset = 16;
constexpr size_t kHeaderExtSize = 8;
constexpr size_t kHeaderBaseOffset = 24;
constexpr size_t kHeaderBaseSize = 24;
constexpr size_t kHeaderWordsOffset = 48;  // eight u16: magic, kind, index, version, four reserved
constexpr uint16_t kHeaderMagic = 1060;

// Total file size of a kind (header, body and trailer), 0 for an unknown kind.
uint32_t DataFileSize(uint16_t kind);
// The format version that the builder writes for kinds 0-3.
uint16_t DataFileVersion(uint16_t kind);

// What a reader of one kind accepts.
struct DataFileRule {
    uint16_t kind;
    uint32_t versionMask;    // bit v set: version v accepted; 0 accepts every version
    int32_t modelRejection;  // result when the model check rejects the file; 0 skips the check
};

// The frame checks every reader applies before it looks at the body, in this order: the bytes received
// against the kind's size, the trailer, the model, the size field, then kind and version. 1 when the
// frame is sound, else the failing check's result code.
int32_t DataFileFrameCheck(const uint8_t* image, size_t n, const DataFileRule& rule);

// Stores the trailer of an image of n bytes (n >= 4).
void DataFileSeal(uint8_t* image, size_t n);

}  // namespace storage

// Plain 32-bit sum of bytes 0 to n-5 (the data-file trailer); 0 when n < 4.
uint32_t SumBytesButLast4(const uint8_t* buffer, size_t n);
// Plain 32-bit sum of bytes 4 to n-1 (non-volatile blocks); 0 when n < 4.
uint32_t SumBytesFrom4(const uint8_t* buffer, size_t n);
// 65536 minus the 16-bit sum of the big-endian words at even offsets 16, 18, ... below n-4: 1 to 65536.
uint32_t WaveImageSum(const uint8_t* buffer, size_t n);

// Splits "Base.ext" into the base name (before the first dot) and the extension (everything after it,
// dots dropped). Writes no terminators (the outputs are expected zeroed). -1 and nothing written when
// the name is longer than 24 characters or its extension longer than 8; else 0.
int32_t FileNameSplit(const char* name, char* base, char* ext);

// Fills the 64-byte header of kind 0-3 for the named file: zeroes bytes 0-83 of the image first. 0, or -1
// for an unknown kind or a name that does not fit (the image then holds zeros).
int32_t FileHeaderBuild(uint16_t kind, uint16_t index, uint8_t* image, const char* fileName);

// Whether a file made on the model named in the header may be loaded as the kind: 1, or -201.
int32_t ModelHeaderCheck(const uint8_t* header, uint16_t kind);
