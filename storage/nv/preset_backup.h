#pragma once
// The backup of the presets in the non-volatile memory: one 8192-byte block per phase (kinds 7-9 at
// 53248, 61440, 69632) holding the phase's ten preset records from byte 32, with the byte sum of bytes
// 4-8191 in bytes 0-3 and the tag 1060 in bytes 4-5, like the other blocks. Transfers hold the block
// store's lock. A save writes the sum last, so a save cut short leaves only its own block failing.
// Each block has a second copy of its own in memory no other part uses (from 77824, one 8192-byte copy
// per phase), written after the block: a cut while one is written leaves the other whole, so a phase
// keeps its old presets or gets its new ones, never loses them. Peers read the blocks alone.
#include <cstdint>

inline constexpr uint32_t kPresetBackupOffset = 53248;
inline constexpr uint32_t kPresetBackupCopyOffset = 77824;
inline constexpr uint32_t kPresetBackupRecordsAt = 32;

// Writes the phase's block from the preset store, then its copy, each unless the memory already holds
// it: the sum cleared, bytes 4-8191, then the sum. kNvSaved, kNvNotWritten (non-volatile writes
// disabled: staged only), kNvWriteFailed, kNvHeld (nothing written while block 0 is held), or kNvBadKind for a phase outside 0-2.
int32_t PresetBackupSave(int32_t phase);
// Phases 0, 1, 2; the first failure, else kNvSaved (or kNvNotWritten).
int32_t PresetBackupSaveAll();
// Reads the phase's block; a sound one gives the phase's ten presets. A block with a zero or wrong sum
// is taken from its copy when that is sound, and mended from it, said on the console and in the popup
// "Preset Data Error\n(Restored from Backup)". When neither is sound (or the memory refuses the read)
// that phase's presets only are reset (the other phases keep theirs), said on the console and in the popup
// "Preset Data Error" unless the memory was never written there on a unit not in use (NvBlocksInUse),
// whose start shows the popup alone. Each damage is said once (data_reset_note.h). A pending request to
// clear the presets (bit 12 of g_SysStatus) resets them all afterwards and is taken. 0 loaded, -200 or
// -1 (read failure) reset, kNvBadKind for a phase outside 0-2.
// Tests load one phase's backup through it.
int32_t PresetBackupLoad(int32_t phase);
// The three phases, then the clear request once, so that no phase's backup comes back after it.
void PresetBackupLoadAll();

// The phase mode (byte 47 of the L1 record) of preset n as a signed value; -1 for n outside 0-9.
int32_t PresetPhaseModeOf(int32_t n);
