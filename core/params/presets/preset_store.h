#pragma once
// The preset store: the ten presets M0-M9 as one 816-byte record per phase and preset, the record of
// preset n and phase p at byte 8160 x p + 816 x n. Bytes 0-83 are 8-bit fields, then 32-bit fields in
// host byte order (word k at byte 4 x k, k = 21-203). The files and the non-volatile backup carry the
// same records.
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kPresetCount = 10;
inline constexpr uint32_t kPresetPhases = 3;
inline constexpr uint32_t kPresetRecordSize = 816;
inline constexpr uint32_t kPresetByteFields = 84;
inline constexpr uint32_t kPresetFirstWord = 21;
inline constexpr uint32_t kPresetWordEnd = kPresetRecordSize / 4;  // 204

// Fields named by their callers.
enum PresetField : uint32_t {
    kPresetOutputMode = 0,     // byte
    kPresetWaveform = 1,       // byte
    kPresetPhaseMode = 47,     // byte
    kPresetParallelCode = 77,  // byte: above 10, the current limits scale by (code - 10)
};

extern uint8_t g_PresetStore[kPresetPhases][kPresetCount][kPresetRecordSize];

// The record of preset n and phase p, or nullptr outside 0-9 and 0-2.
uint8_t* PresetRecord(uint32_t n, uint32_t p);
// A 32-bit field of a record (k = 21-203).
int32_t PresetWordGet(const uint8_t* record, uint32_t k);
void PresetWordPut(uint8_t* record, uint32_t k, int32_t v);

// Resets preset n (0-9) to the default values of the settings, for all three phases; n outside does
// nothing.
void PresetClear(int32_t n);
void PresetClearAll();
// Resets the records of phase p (0-2) of all ten presets; the other phases keep theirs.
void PresetClearPhase(uint32_t p);
