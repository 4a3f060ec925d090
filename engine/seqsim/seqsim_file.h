#pragma once
// The SEQ and SIM memory files: SEQ0-SEQ9 ("SEQ%d.SEQ" in /mnt/tst/seq) and SIM0-SIM9 ("SIM%d.SIM" in
// /mnt/tst/sim), each holding all tables of the three phases and the output configuration they were made
// for, in the common data-file frame; every number big-endian. One image buffer per kind holds a file
// while it is built, read or transferred.
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kSeqFileSize = 1224324;
inline constexpr uint32_t kSimFileSize = 1972;
extern uint8_t g_SeqFileBuf[kSeqFileSize];
extern uint8_t g_SimFileBuf[kSimFileSize];

// Builds the image of slot 0-9 from the tables and the saved configuration: 0, or -1 for another slot.
// clear 1 (a memory being deleted) zeroes the reserved configuration bytes and, for SEQ9 only, records the
// ACV unit as Vpp in every slice (the SEQ9 template holds Vpp values).
int32_t SeqBuildFile(int32_t slot, int32_t clear);
int32_t SimBuildFile(int32_t slot);
// The image a deleted memory of slot 0-9 holds, into out (the kind's file size), touching neither the
// tables nor the saved configuration: the default steps with the slot's template (SEQ) or the default
// states (SIM), under the default configuration (SEQ9 recording its ACV unit as Vpp). 0, or -1 for another
// slot or no buffer.
int32_t SeqBuildClearedImage(int32_t slot, uint8_t* out);
int32_t SimBuildClearedImage(int32_t slot, uint8_t* out);
// Checks the image (trailer, model, size field, kind and version) and only then unpacks it into the
// tables and the saved configuration: 1, -200, -201, or -202 when the unpacked tables fail validation
// (they stay loaded; SEQ also sets the run block's invalid marker).
int32_t SeqParseFile(int32_t slot, int32_t size);
int32_t SimParseFile(int32_t slot, int32_t size);

// Build and write the internal file: the write's result (the byte count on success), -1 for a bad slot.
int32_t SeqSaveFile(int32_t slot, int32_t clear);
int32_t SimSaveFile(int32_t slot);
// Read the internal file into the image and parse it: the parse result, -1 bad slot, -100 missing or
// empty, -200 wrong size, or the read's negative result.
int32_t SeqLoadFile(int32_t slot);
int32_t SimLoadFile(int32_t slot);
// Installs a file image received from a remote transfer: parsed, then saved as the slot's file (the
// save's result). -1 bad slot, no data or no memory; -200 wrong length; on a parse failure its result,
// and the image, the tables and the saved configuration are as they were before the call.
int32_t SeqImportFileImage(int32_t slot, const uint8_t* data, uint32_t length);
int32_t SimImportFileImage(int32_t slot, const uint8_t* data, uint32_t length);
// The slot's file from the unit's brand directory on USB memory, parsed and saved internally; a failed
// parse leaves the tables and the saved configuration as they were.
int32_t SeqImportFromUsb(int32_t slot);
int32_t SimImportFromUsb(int32_t slot);
// Reads the slot's internal file into buffer (capacity at least the kind's size) and checks its frame,
// touching neither the tables nor the image: the byte count, or the load's failure codes.
int32_t SeqFileReadChecked(int32_t slot, uint8_t* buffer);
int32_t SimFileReadChecked(int32_t slot, uint8_t* buffer);
// At start: every stored SEQ and SIM memory that fails those checks is said on the console, as its loss
// would otherwise show only at a later recall, each damage once. A file made for another model is no
// damage, unless it lacks this kind's frame (size field, kind word) as well, as a file of zeros does.
void SeqSimMemFilesReport();
// True when a SEQ or SIM memory file is stored in the internal folders.
bool SeqSimMemFilesStored();
// Whether the file of that name in the kind's internal folder passes the same checks.
bool SeqMemFileSound(const char* name);
bool SimMemFileSound(const char* name);
// The wiring (and SEQ range) a stored memory was made for, read with the check above; 0xFFFF when the
// memory cannot be read.
uint16_t SeqMem_StoredPhaseMode(int32_t slot);
uint16_t SeqMem_StoredRange(int32_t slot);
uint16_t SimMem_StoredPhaseMode(int32_t slot);
// Both the wiring and the range of a stored SEQ memory from one checked read; false (nothing set) when
// the memory cannot be read.
bool SeqMem_StoredConfig(int32_t slot, uint16_t* wiring, uint16_t* range);
