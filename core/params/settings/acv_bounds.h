#pragma once
// The AC voltage's bounds rule of the setting rows (setting_rows.h) beyond its record's own limits, for the
// remote handler and the panel's field editors alike.
#include <cstdint>

namespace settings {

// The AC voltage's maximum beyond its record. In Vpp units (the phase's waveform neither SIN nor SQU) the
// waveform's peak-to-peak ceiling holds too: the maximum is the lower of the record's and the ceiling. The
// panel's ceiling is that of the field it edits (a line value in the line voltage's field) and the service
// override lifts it; a remote set's is always the phase's own.
enum class Holder : uint8_t { kPanel, kRemote };
int32_t AcvMax(int phase, int32_t recordMax, Holder who);
// The line AC voltage's remote maximum: in Vpp units the lower of the line record's and L1's ceiling as a
// line value (x sqrt 3 in 3P4W, x 2 otherwise).
int32_t LineAcvRemoteMax(int32_t recordMax);

}  // namespace settings
