#pragma once
// The memory number of a data transfer, checked before anything uses it.
#include <cstdint>

struct ScpiInterface;

namespace scpi {

struct DataSlotRule {
    bool choice;    // a choice (its value is the index) is taken beside an integer
    int32_t first;  // the integer that names index 0
    int32_t count;  // indexes 0..count-1 exist
};
constexpr DataSlotRule kSlotArb{false, 1, 253};       // DATA:ARB:FILE: 1..253
constexpr DataSlotRule kSlotWave{true, 1, 253};       // DATA:WAVE: 1..253 or ARB1..ARB253
constexpr DataSlotRule kSlotMemory{true, 0, 10};      // SEQ/SIM: 0..9 or SEQ0..SEQ9
constexpr DataSlotRule kSlotMemoryInt{false, 0, 10};  // the FILE forms and presets: 0..9

// Parameter i as a memory index under rule: 0 and the index, else the error row (-220 another type,
// -222 outside the range, negatives included).
uint32_t DataSlotParam(const ScpiInterface* ifc, uint32_t i, const DataSlotRule& rule, int32_t* index);

}  // namespace scpi
