#pragma once
// Deleting stored memories: one preset (M0-M9), SEQ memory (0-9), SIM memory (0-9) or waveform (ARB1-
// ARB253), or all of them (kind 4). The owners of the memories hand over how one item is deleted.
#include <cstdint>

enum MemoryKind : int32_t { kMemPreset = 0, kMemSeq = 1, kMemSim = 2, kMemArb = 3, kMemAll = 4 };

// Each returns a positive value when the item's store was written again, else its failure.
struct MemoryDeleteHooks {
    int32_t (*preset)(int32_t n);            // clears preset n
    int32_t (*presetsAll)();                 // clears every preset and packs the power-on and settings blocks
    int32_t (*seq)(int32_t n);               // removes SEQ n, loads its default steps and saves them
    int32_t (*sim)(int32_t n);               // likewise SIM n
    int32_t (*arb)(int32_t n, int32_t all);  // resets ARB n to its default and saves it
};
void MemoryData_SetDeleteHooks(const MemoryDeleteHooks& hooks);

// A positive value on success; 0 when refused (a number outside its range, a kind above 4, an item whose
// owner has handed over nothing, waveforms or all while the output is on); a failed item's save gives
// its failure. All memories: presets, SEQ 9-0, SIM 9-0, ARB1-ARB253 with progress dots, stopping at the
// first failure (also while an alarm is latched) with "SEQ%d Deleted Fail" and the like; all hooks must
// be handed over, or nothing is deleted.
int32_t DeleteMemoryData(int32_t kind, int32_t number);

// The requests seen (tests).
struct MemoryDeleteRequest {
    uint32_t count;        // requests since the last reset
    int32_t kind, number;  // the last one
};
MemoryDeleteRequest MemoryDeleteLastRequest();
void MemoryDeleteReset();
