#pragma once
// The user waveforms ARB1-ARB253 as files: "ARB%d.ARB" on the internal store (/mnt/tst/ARB), copies on USB
// memory, remote images, and the factory defaults. A wave is addressed by its index i = n - 1 (0..252)
// and lives in slot i below 16, slot i + 3 above. Every entry point refuses an index outside 0..252 with
// -1, and every load checks the whole image before it touches the waveform memory.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

inline constexpr int32_t kArbWaves = 253;
inline constexpr uint32_t kArbFileBytes = 8260;     // header, 4096 big-endian samples, trailer
inline constexpr uint32_t kArbStrongBytes = 8244;   // "F001Strong" sample image
inline constexpr uint32_t kArbRawBytes = 8192;      // samples only
inline constexpr int32_t kArbWdbBytes = 131398;     // waveform-editor file
inline constexpr uint32_t kArbWdbReadBytes = 8520;  // the part of it that is read
inline constexpr uint32_t kArbWdbSamplesOffset = 326;

// The RAM images: the instrument's own format and the "F001Strong" import.
extern uint8_t g_ArbFileImg[kArbFileBytes];
extern uint8_t g_ArbImportImg[kArbStrongBytes];
// Guards both images: a remote query builds on its channel thread while the panel stores on its own. Held
// (storage::ImageHold) by every build, load, import, save and copy; recursive, because a caller that must
// keep a build and its copy together holds it around both.
extern std::recursive_mutex g_ArbFileImgLock;
// 1 when the last USB recall fell back to the wdb file and reached its size check.
extern std::atomic<uint8_t> g_ArbImportWasWdb;

namespace storage {
// Slot of wave i (i valid).
inline int ArbSlotOf(int32_t i) {
    return i < 16 ? i : i + 3;
}
}  // namespace storage

// Builds the image of wave i in g_ArbFileImg: 0, or -1 for a bad index.
int32_t ArbBuildFile(int32_t i);
// Checks g_ArbFileImg (length bytes received) and copies its samples into wave i: 1, -200, or -1.
int32_t ArbLoadFile(int32_t i, int32_t length);
// The same for g_ArbImportImg as a "F001Strong" image.
int32_t ArbImportStrongImage(int32_t i, int32_t length);
// Publishes wave i to the control task (table download, crest factor; the output is switched off first
// when it plays the wave), rebuilds the dependent limits when rebuild is 1, and writes its file: the write
// result (8260, or a negative file result code), or -1 for a bad index.
int32_t ArbSaveFile(int32_t i, int32_t rebuild);
// Recalls wave i from the USB brand directory ("ARB%d.ARB", else "ARB%d.wdb") and saves it.
int32_t ArbLoadFromUsb(int32_t i);
int32_t ArbImportWdb(int32_t i);
// Loads wave i from /mnt/disk/default/ARB without saving: the load result, the file's size when it is
// missing or empty (below 1), -200 for a file of another size.
int32_t ArbLoadDefault(int32_t i);
// Fills wave i with its default shape (0-7 sine, 8-11 square, 12-15 triangle, the rest sine), then for
// ARB1-ARB16 the factory default file over it when one exists: 0, or -1 for a bad index.
int32_t ArbResetToDefault(int32_t i);
// Start-up: 0 when wave i loaded from its internal file; 1 when it had to be reset and written again.
int32_t ArbRestore(int32_t i);
// Resets and saves every wave, then rebuilds the dependent limits once.
void ArbDeleteAll();
// Remote transfers: an 8260-byte image or an 8244-byte "F001Strong" image (another length -200); 8192
// bytes of big-endian samples; the image last built, copied out (its length).
int32_t ArbRemoteWrite(int32_t i, int32_t length, const uint8_t* data);
int32_t ArbRemoteWriteRaw(int32_t i, const uint8_t* data);
int32_t ArbRemoteRead(uint8_t* destination);

namespace storage {
// The limits that depend on the waves: AC voltage ceilings, then the frequencies and voltage settings of
// every output mode.
void ArbLimitRebuild();
// The factory's ARB1-ARB16 of a new root: each wave at its default shape, written as its file with the
// unit's model text in the header. Only a new root gets them: at a later start a missing or damaged file
// is what the start-up reports. The number of files that could not be written.
int32_t ArbProvisionFactoryFiles(const char* model);
}  // namespace storage
