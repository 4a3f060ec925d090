#pragma once
// The SEQ and SIM memory names kept over a restart, in a file of our own beside the SEQ memories
// ("/mnt/tst/seq/NAMES.SSN"): the 8 bytes "SEQSIMNM", the ten SEQ names, the ten SIM names (20 bytes
// each, padded with zeros, not terminated when all 20 are used), then the 32-bit big-endian sum of every
// byte before it.
#include <cstddef>
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

inline constexpr size_t kSeqSimNamesFileSize = 8 + 2 * 10 * kSeqSimNameLen + 4;  // 412

// The file image of both lists.
void SeqSimNamesPack(const char (*seq)[kSeqSimNameLen], const char (*sim)[kSeqSimNameLen], uint8_t* out);
// Unpacks an image of n bytes into both lists: true when it is sound; otherwise false and the lists
// stay as they were.
bool SeqSimNamesParse(const uint8_t* data, size_t n, char (*seq)[kSeqSimNameLen],
                      char (*sim)[kSeqSimNameLen]);

// After a name changed: both lists written whole (temporary + rename). The byte count, or the write's
// negative result.
int32_t SeqSimNamesSave();
// After a memory was stored: the file written when it is not there, so that a stored memory always has
// its names file beside it. The byte count, 0 when the file was there, or the write's negative result.
int32_t SeqSimNamesKeep();
// At start: both lists from the file; a missing or damaged file leaves every name empty. A damaged or
// unreadable file is said on the console, and so is a missing one while memoriesStored (a SEQ or SIM
// memory is stored, so the file was written with it), each damage once. 1 when the names were read,
// else 0.
int32_t SeqSimNamesLoad(bool memoriesStored);
