#pragma once
// Deleting stored memories: one preset (M0-M9), SEQ memory (0-9), SIM memory (0-9) or waveform (ARB1-
// ARB253), or all of them (kind 4). Presets and waveforms are deleted here; SEQ and SIM memories belong to a
// higher layer, which hands over how one of them is deleted.
#include <cstdint>

enum MemoryKind : int32_t { kMemPreset = 0, kMemSeq = 1, kMemSim = 2, kMemArb = 3, kMemAll = 4 };

// Each returns a positive value when the memory's file was written again, else its failure.
struct MemoryDeleteHooks {
    int32_t (*seq)(int32_t n);  // removes SEQ n, loads its default steps and saves them
    int32_t (*sim)(int32_t n);  // likewise SIM n
};
void MemoryData_SetDeleteHooks(const MemoryDeleteHooks& hooks);

// A positive value on success; 0 when refused (a number outside its range, a kind above 4, a SEQ or SIM
// memory whose owner has handed over nothing, waveforms or all while the output is on); a failed item's
// save gives its failure. All memories: presets with the power-on and settings blocks packed from their
// defaults, SEQ 9-0, SIM 9-0, ARB1-ARB253 with progress dots, stopping at the first failure (also while
// an alarm is latched) with "SEQ%d Deleted Fail" and the like; both hooks must be handed over, or nothing
// is deleted.
int32_t DeleteMemoryData(int32_t kind, int32_t number);

// The requests seen (tests).
struct MemoryDeleteRequest {
    uint32_t count;        // requests since the last reset
    int32_t kind, number;  // the last one
};
// Tests read the last deletion request and start clean through these.
MemoryDeleteRequest MemoryDeleteLastRequest();
void MemoryDeleteReset();
