#pragma once
// Calibration files: one phase's 512-byte calibration page on USB memory, in the brand directory, with
// no header and no checksum of their own; the page's 16-bit words are stored little-endian, as the
// power stage's memory holds them.
#include <cstdint>

// "Calibration_U"/"_V"/"_W" for phase 0/1/2; on the master of an active parallel system
// "Calibration_U_S<n>" with n the number of slave units. Empty for another phase.
const char* CalibrationFileName(int phase, char* out, int size);

// Loads the phase's page: 1, -1 for a phase outside 0-2, -100 file missing or unreadable, -200 a file
// not 512 bytes long or a page that fails its checksum. The page is only replaced by a page that passed.
int32_t CalibrationFileLoad(int phase);
// Saves the phase's page: 1, else the FileWriteRaw code (-1 for a phase outside 0-2).
int32_t CalibrationFileSave(int phase);
