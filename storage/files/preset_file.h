#pragma once
// The preset file "Preset<n>.Set" (2516 bytes): the common data-file header (kind 0, index n, version 5),
// the three phase records of preset n (first 84 bytes as they are, the 32-bit fields big-endian) and the
// byte-sum trailer. It travels to and from the brand folder of the USB memory and, as the same bytes,
// over the remote interfaces; every received preset is checked and repaired before it is taken.
#include <cstddef>
#include <cstdint>
#include <mutex>

inline constexpr uint32_t kPresetFileSize = 2516;

// The one image every preset file operation shares (building, checking, remote transfer).
extern uint8_t g_PresetFileImg[kPresetFileSize];
// Guards the image: a remote query builds on its channel thread while the panel stores on its own. Held
// (storage::ImageHold) by every build, load, save and copy; recursive, because a caller that must keep a
// build and its copy together holds it around both.
extern std::recursive_mutex g_PresetFileImgLock;
// The model text of the last preset refused for its model (at most 12 characters), for the recall
// message.
extern char g_RejectedModelText[13];

// Fills the image from preset n; n outside 0-9 does nothing.
void PresetBuildFile(int32_t n);
// Writes preset n to the USB memory: the write result, or -1 for n outside 0-9.
int32_t PresetSaveToUsb(int32_t n);
// Reads preset n from the USB memory into the image and applies it: -1 for n outside 0-9, -100 missing
// or empty, -200 not 2516 bytes (not read), -102 a failed read, else PresetImageApply's result.
int32_t PresetLoadFromUsb(int32_t n);
// Checks the image (trailer, model, size field, kind 0, version 0, 2 or 5) and takes its three records
// into preset n, each only after its check and repair: 1, -200, -201 (model text kept in
// g_RejectedModelText), -202 a record that cannot be repaired (the phases before it stay taken), or -1
// for n outside 0-9.
int32_t PresetImageApply(int32_t n, uint32_t length);
// A preset received as a block of bytes: -1 for n outside 0-9, a zero length or no data, -200 for a
// length other than 2516, else PresetImageApply's result.
int32_t PresetRemoteWrite(int32_t n, uint32_t length, const uint8_t* data);
// Copies the image out (built before with PresetBuildFile); returns the number of bytes.
uint32_t PresetRemoteRead(uint8_t* destination);

// Checks a phase record (host byte order) against the ranges the present model allows: bytes 0-59 as
// signed bytes, words 21-114 as signed words. With repair a field outside its range takes its default
// and the check goes on; without, the first such field ends it. 0 when the record passes or was
// repaired, 1 when a field failed without repair.
int32_t PresetRecordCheck(uint8_t* record, int32_t repair);
