#pragma once
// The configuration text at offset 768 of the non-volatile memory: one "KEY=value" line for each setting
// of the network, the remote interfaces, the pending interface changes and the SEQ/SIM memory numbers,
// in a fixed key order starting with "VERSION=1.06", closed by a line "CHECKSUM=n", n being the 16-bit sum
// of every byte before that line taken as a signed byte. The 3072-byte area holds nothing behind the text.
#include <cstdint>

constexpr uint32_t kCfgTextOffset = 768;
constexpr uint32_t kCfgTextArea = 3072;

// Formats the text in g_CfgTextBuf and writes the whole area (the text, then zeros). The text's length
// with its checksum line; 0 when the text would not fit (nothing written); -1 without a buffer or when
// the memory refuses the write; -2 while the text is held (nothing written): its last load failed on an
// area that was not blank, and the first save after that load found the same settings as this one
// (the addresses are left out of that comparison while DHCP is on, which sets them itself).
int32_t SaveSystemConfig();

// Reads the area and, when the text is sound, every key found into its setting; a missing key leaves its
// setting as it is. A failed read, or a text that is not sound in an area that is not blank, holds the
// text (SaveSystemConfig) and is said on the console, as is a blank area on a unit in use (NvBlocksInUse),
// each damage once (data_reset_note.h); a sound text ends the hold. The sum of the line lengths
// read, or -1 without a buffer, on a failed read, or for a text without its "VERSION=" or "CHECKSUM=" line or
// whose sum does not match (every setting kept). A checksum line carrying "UPDATE" in place of a number is
// taken without a sum check.
int32_t LoadSystemConfig();
