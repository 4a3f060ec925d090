#pragma once
// The AC voltage's bounds rule of the setting rows (setting_rows.h) beyond its record's own limits, for the
// remote handler and the panel's field editors alike.
#include <cstdint>

namespace settings {

// The AC voltage's maximum beyond its record. In Vpp units (the phase's waveform neither SIN nor SQU) the
// waveform's peak-to-peak ceiling holds: the panel takes the lower of the record's maximum and the ceiling,
// unless the service override lifts the ceiling; a remote MAXimum is the ceiling itself.
enum class Holder : uint8_t { kPanel, kRemote };
int32_t AcvMax(int phase, int32_t recordMax, Holder who);
// The line AC voltage's remote MAXimum: in Vpp units L1's ceiling as a line value (x sqrt 3 in 3P4W,
// x 2 otherwise).
int32_t LineAcvRemoteMax(int32_t recordMax);

}  // namespace settings
