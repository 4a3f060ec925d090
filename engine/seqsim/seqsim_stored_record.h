#pragma once
// The SEQ and SIM memories ever stored, recorded in a file of our own beside the SEQ memories
// ("/mnt/tst/seq/STORED.SSM"): a memory once stored always has its file (a delete stores the defaults in
// it), so a recorded memory whose file a start finds missing was lost. The file is text, one memory a
// line ("SEQ3", "SIM4"); a line of any other form is left out.
#include <cstddef>
#include <cstdint>

// Bit slot (0-9) of a SEQ memory, bit 10 + slot of a SIM memory.
inline constexpr uint32_t kStoredSeqShift = 0;
inline constexpr uint32_t kStoredSimShift = 10;

// The memories a record's bytes name.
uint32_t SeqSimStoredParse(const uint8_t* data, size_t n);
// The memories recorded; none when the record is missing or unreadable.
uint32_t SeqSimStoredLoad();
// Adds the memories to the record, written (temporary + rename) only when that adds one. The byte
// count written, 0 when nothing was added, or the write's negative result.
int32_t SeqSimStoredAdd(uint32_t memories);
