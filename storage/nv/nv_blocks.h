#pragma once
// The checksummed blocks of the SPI non-volatile memory: block 0 (identity and power-on settings) and the
// settings blocks 1-6 (one per phase and phase mode). Each block has a RAM image, a staging buffer it is
// written and read through, a fixed offset and a little-endian byte sum of bytes 4.. in bytes 0-3; bytes
// 4-5 hold the u16 1060. A sum of 0 counts as no data. One lock covers pack, stage and write, because the
// menu/control thread and the timer thread (parallel master) share the images and staging buffers.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

constexpr uint32_t kNvIdentityUsed = 132;
constexpr uint32_t kNvIdentityStage = 512;
constexpr uint32_t kNvSettingsBlockSize = 8192;
constexpr uint16_t kNvBlockTag = 1060;

// Offset of block kind 0-6 in the memory; 0 for kinds outside that range.
uint32_t NvBlockOffset(int kind);

struct IdentityBlock {
    uint8_t modelId = 0;    // byte 6
    uint8_t brandId = 0;    // byte 7
    char serial[16] = {};   // bytes 8-23
    char mac[20] = {};      // bytes 24-43
    uint8_t phaseMode = 0;  // byte 44
    uint8_t factoryAccess = 0;  // byte 45: 1 once the factory password was given
    // Bytes 58-93, the power-on settings, one byte each (bytes 58-66, 68-74, 80-82, 86, 87, 89, 91 are
    // signed when applied). Byte 67 (index 9) is the delete-all request.
    uint8_t powerOn[36] = {};
    uint32_t peakHoldTime = 0;  // bytes 96-99
    uint32_t usbWord = 0;       // bytes 100-103
    uint32_t trigWidth = 0;     // bytes 104-107
    int32_t lr[6] = {};         // bytes 108-131: inductance L1-L3, resistance L1-L3
};
constexpr int kPowerOnDeleteAll = 67 - 58;

// Bytes 8-97 (byte 18, the waveform number, is the one unsigned field) and words 66-293 of a settings
// block; everything else in the block is zero.
struct SettingsBlock {
    uint8_t bytes[90] = {};
    int32_t words[228] = {};
};
constexpr uint32_t kSettingsFirstByte = 8;
constexpr uint32_t kSettingsFirstWord = 66;

// Byte-by-byte packing into a zeroed image (132 or 8192 bytes, checksum and tag left to NvBlockSeal) and
// back; fields in little-endian order.
void IdentityBlockPack(const IdentityBlock& in, uint8_t* image);
void IdentityBlockUnpack(const uint8_t* image, IdentityBlock* out);
void SettingsBlockPack(const SettingsBlock& in, uint8_t* image);
void SettingsBlockUnpack(const uint8_t* image, SettingsBlock* out);

// Stores the tag and then the sum of the used bytes; returns the sum.
uint32_t NvBlockSeal(uint8_t* image, size_t used);
// True when the stored sum is non-zero and matches.
bool NvBlockSumOk(const uint8_t* image, size_t used);

// Result of a block save.
enum NvSaveResult : int32_t {
    kNvSaved = 0,
    kNvNotWritten = 1,    // non-volatile writes are disabled: packed and staged only
    kNvWriteFailed = -1,  // the memory refused a transfer; the block may be half written
    kNvBadKind = -2,
    kNvHeld = 2,  // the stored block failed its load and nothing changed since: not written
};
// Pack, seal, stage and write under the lock; the kept checksum copy is updated only by a full write.
// Block 0 is written to the memory and then as the same 512 bytes to /mnt/tst/Special/SpecialData (a
// failed file write gives its negative file result). A block whose read failed (the memory failed, or a wrong
// or zero sum on bytes that are not blank) is held (nv_hold.h): writes of the image the first write after the
// read found give kNvHeld and write nothing; an image that differs from it is written and ends the hold, as
// do a sound read and NvBlockRelease. While block 0 is held no settings block is written (kNvHeld): the unit
// runs on the defaults of no model type, which the stored settings must survive.
// Tests write the blocks a start finds through these.
int32_t IdentityBlockSave(const IdentityBlock& in);
int32_t SettingsBlockSave(int kind, const SettingsBlock& in);

// Under the lock: unpacks the RAM image of block 0 (of settings block kind 1-6), lets edit change it, packs
// it back, seals and stages it, and with write set writes it as the Save functions do. Without write the
// result is kNvNotWritten.
int32_t IdentityBlockEdit(const std::function<void(IdentityBlock&)>& edit, bool write);
int32_t SettingsBlockEdit(int kind, const std::function<void(SettingsBlock&)>& edit, bool write);
// Seals, stages and writes block 0's RAM image as it stands (as IdentityBlockSave).
int32_t IdentityBlockWrite();
// The unpacked RAM image as it stands (checked when it was read or packed). SettingsBlockImage: 0 or
// kNvBadKind.
void IdentityBlockImage(IdentityBlock* out);
// True when block 0's RAM image holds a non-zero sum that matches it.
bool IdentityBlockImageOk();
int32_t SettingsBlockImage(int kind, SettingsBlock* out);

// Reads the block into its staging buffer; only when its checksum holds is it copied to the RAM image,
// the checksum copy kept and *out filled. 0, -1 the memory failed, -2 bad kind, -200 wrong or zero sum
// (image and *out untouched).
int32_t IdentityBlockRead(IdentityBlock* out);
int32_t SettingsBlockRead(int kind, SettingsBlock* out);
// Mends block 0 from its copy in /mnt/tst/Special/SpecialData: only a copy of 512 bytes whose checksum
// holds is taken into the RAM image, written at offset 0 (unless non-volatile writes are disabled) and
// unpacked into *out; the hold of block 0 ends. kNvSaved, kNvNotWritten, kNvWriteFailed (the image is
// taken all the same), or -200 when the copy is missing or fails its checksum (nothing changed).
int32_t IdentityBlockRestore(IdentityBlock* out);
// True while block kind 0-6 is held: its load failed on stored bytes (not on a memory never written)
// and nothing was set on purpose since.
bool NvBlockHeld(int kind);
// The print (StoredDataPrint) of what the last read of kind 0-6 found, kPrintUnreadable after a read the
// memory refused; 0 for another kind.
uint64_t NvBlockReadPrint(int kind);
// True when block 0's image is sound and names a model type. Such a unit has had every area of the memory
// written, by the factory's first start or by the model change that gave it its type, so an area found
// erased on it has lost what it held.
bool NvBlocksInUse();

// The words a re-based settings block takes from new limits: frequency record word 7, word 8 and default
// value for output modes 0, 1, 5, 6 (words 132-143), the default frequency limits of modes 0 and 1
// (144-147), rms current limit of four range variants (148-151), peak current maximum and minimum
// (152-159).
struct SettingsRebase {
    int32_t words[28] = {};
};
constexpr uint32_t kSettingsRebaseFirstWord = 132;

// Re-bases settings block kind 1-6 on new limits, under the lock from read to write: reads the block,
// refuses one whose checksum fails (-200: re-sealing it would make stale bytes valid), stores the new
// words, zeroes bytes 6-7, 98-263 and words 294-1983, seals and writes it at offset. kNvSaved,
// kNvNotWritten, kNvWriteFailed (the read or the write), kNvBadKind, -200.
int32_t SettingsBlockRebaseWrite(int kind, const SettingsRebase& in, uint32_t offset);

// Stores the phase mode in block 0's image, seals and stages it, and unless non-volatile writes are
// disabled writes the 512 staged bytes at offset 0 and to /mnt/tst/Special/SpecialData (neither while
// block 0 is held). kNvSaved, kNvNotWritten, kNvHeld, kNvWriteFailed, or the negative result of the file
// write.
int32_t SpecialDataSave(uint8_t phaseMode);

// Ends the hold of kind 0-6, so that its next write goes through (contents set on purpose, like a
// factory identity).
void NvBlockRelease(int kind);

// The checksum last written or accepted for kind 0-6 (0 when none).
// Tests read the checksum a block keeps through it.
uint32_t NvBlockKeptSum(int kind);
// Zeroes the images, staging buffers and kept sums and ends every hold (tests).
// Tests start each case from a clean state through it.
void NvBlocksReset();

// The lock above. Other users of the memory (the configuration text, the preset backups) hold it around
// their transfers, so that no two command sequences meet.
std::mutex& NvBlockLock();
