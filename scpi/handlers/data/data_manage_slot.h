#pragma once
// The memory number of a DATA command, checked before anything uses it: only a number that passed here
// ever forms a file name or indexes a memory table.
#include <cstdint>

struct ScpiInterface;

namespace scpi {

struct DataSlotRange {
    int32_t first, last;
    // How a choice other than MINimum/MAXimum reads: true an out-of-range number (presets and waveforms),
    // false a parameter error (SEQ and SIM memories).
    bool otherChoiceOutOfRange;
};
inline constexpr DataSlotRange kSeqSimSlots{0, 9, false};
inline constexpr DataSlotRange kPresetSlots{0, 9, true};
inline constexpr DataSlotRange kArbSlots{1, 253, true};

// 0 and the slot of parameter i (MINimum the first, MAXimum the last, or an integer within the range);
// else the error row: a negative or too large integer is out of range, a parameter of another type a
// parameter error. `byChoice` (may be null) tells whether the slot came from MINimum/MAXimum.
uint32_t DataSlot(const ScpiInterface* ifc, uint32_t i, const DataSlotRange& range, int32_t* slot,
                  bool* byChoice = nullptr);

}  // namespace scpi
