#pragma once
// Moving averages of the measured quantities: one slot per quantity and record row. A slot keeps the
// newest N samples (N up to 256) scaled by 1,000,000 in 64-bit integers, so that a push is one subtraction,
// one store and one addition whatever N is. Only the menu/control thread touches them.
#include <cstdint>

inline constexpr int kMeasAvgSlots = 328;
inline constexpr int kMeasAvgRing = 256;

// The words of a slot that every pass reads. Its ring of samples lies apart, in an array of the same shape
// (meas_average.cpp), so that a pass over a hundred slots reads a few cache lines of words instead of one
// page per slot; a ring is touched on every fifth call only.
struct MeasAvgSlot {
    uint32_t resetRequest;  // 1: refill the ring from the next value
    uint32_t writeIndex;    // 0..N-1
    uint32_t decimation;    // calls since the last push
    int32_t count;          // N; 0 or 1: no averaging
    int64_t sum;            // of the N newest samples
    float average;
    uint32_t reserved;
};

// Slot numbers by quantity.
enum MeasAvgSlotId : int {
    kAvgVrms = 0,
    kAvgVavg = 1,
    kAvgVmax = 2,
    kAvgVmin = 3,
    kAvgIrms = 6,
    kAvgIavg = 7,
    kAvgImax = 8,
    kAvgImin = 9,
    kAvgPower = 11,
    kAvgApparent = 12,
    kAvgReactive = 13,
    kAvgPF = 14,
    kAvgCF = 15,
    kAvgTotals = 18,  // 18-23 of row 0: Vrms, Irms, P, PF, S, Q totals
};

extern MeasAvgSlot g_MeasAvg[7][kMeasAvgSlots];

// Feeds one value (NaN or infinite counts as 0) and returns the slot's average. With N >= 2 the value
// enters the ring on every fifth call only; the first value after a refill request fills the whole ring.
float MeasAvg_Update(int slot, int row, float value);

// Averaging length of every measurement slot of the phase rows (the averages refill from then on); a
// count above the ring's 256 samples averages over 256.
void MeasAvg_ResetAll(int32_t count);

namespace core {
// Every slot of every row empty, no averaging (tests).
// Tests start each case from a clean state through it.
void MeasAvgClearAll();
}  // namespace core
