#pragma once
// The limits of a voltage setting edited on all phases together: whether a value passes every phase,
// which phases hold it back, and the tightest limit of the three given to the phase being edited.
//
// Voltage ids: 47-49 AC voltage (L1-L3), 51-56 DC voltage. "Active phases" are those of the wiring: 3P4W
// L1-L3, 1P3W L1-L2, 1P2W L1.
#include <atomic>
#include <cstdint>

namespace core {

inline constexpr uint32_t kAllPhasesEqual = 3;  // limiting index: the three phases' limits are equal

// The phases that held back the last all-phase value, read by the panel when it posts its limit message
// (message 18 + mask). Written by the menu/control thread only.
struct LimitedPhase {
    std::atomic<uint32_t> mask;      // bit p: phase p limits the value; 0 when all three do
    std::atomic<uint32_t> maxIndex;  // max side: limiting phase 0-2, or kAllPhasesEqual
    std::atomic<uint32_t> minIndex;  // min side: the same
    // The three phases' limits as AlignLimitsToPhases last read them, for the limiting index.
    std::atomic<int32_t> maxCopy[3];
    std::atomic<int32_t> minCopy[3];
};

}  // namespace core

extern core::LimitedPhase g_LimitedPhase;

namespace core {
// The limit of a record an all-phase edit aligns.
enum class Side : uint8_t { kMax, kMin };
}  // namespace core

// Gives the selected phase the tightest limit of L1-L3 and returns the phase it came from (kAllPhasesEqual
// when the three are equal). kMax, ids 47-49 and 51: the smallest maximum (L2 wins a tie with L1, L3 only a
// strictly smaller one). kMin, id 51: the largest minimum, same ties; ids 47-49 return kAllPhasesEqual and
// change nothing. Other ids return 0. The limits read are kept in g_LimitedPhase's copies. Meant for edits
// of all phases (g_EditAllPhases 1).
uint32_t AlignLimitsToPhases(uint32_t id, core::Side side);

// The bounds an edit of all phases holds the voltage id to, read without writing them: the smallest maximum
// of L1-L3 and, for the DC voltages (ids 51-56), the largest minimum; the AC voltages (47-49) keep the
// selected phase's minimum. False for other ids.
bool AllPhaseBounds(uint32_t id, int32_t* max, int32_t* min);

// 2 when the id's value equals value on every active phase, else 0.
int AllPhasesEqual(uint32_t id, int32_t value);

// Which active phases hold back value for the voltage id (a value of 0 stands for the selected phase's
// own value): re-checks the selected phase's voltage limits first, then sets g_LimitedPhase's mask and,
// where the selected phase is limited, its limiting index. Returns 1 when a phase limits the value, plus
// AllPhasesEqual (id, value); ids other than the voltages return AllPhasesEqual only.
int FindPhasesLimitingValue(uint32_t id, int32_t value);
