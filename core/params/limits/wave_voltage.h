#pragma once
// The AC and DC voltage kept per waveform: spread over all waveforms, taken again after a waveform table or
// the AC voltage unit changed, and the line values derived from L1. Run by the control task.
#include <cstdint>

#include "core/params/param_store.h"

// The AC and DC voltage in force of each phase in Vrms: the rms records of the phase's stored waveform (a
// setter's waveform change carries them to the new waveform). Read before a check of the records
// (VoltSettingCheckAll) runs: it clears a phase's value above its limit, which a waveform change limits.
struct RmsInForce {
    int32_t acv[core::kPhases];
    int32_t dcv[core::kPhases];
};
RmsInForce RmsVoltagesInForce();
// The voltage in force (the stored AC and DC voltage of the phase's present waveform) into the records of
// every waveform of the present mode and range area, for each phase of the wiring.
void SpreadVoltageToWaves();
// Takes each phase's voltages from the records of its present waveform (the voltage in force, also when
// the store changed since the last spread, as a preset recall changes it), limits the AC voltage to what the
// waveform allows (one message names every limited phase), writes them and spreads them again.
void WaveVoltageRecheck();
// The line value (id 50 line AC voltage, 57 line DC voltage) from L1's; other ids do nothing.
void LineValueFromPhase(uint32_t id);

namespace core {
// The text of the waveform limit message for the collected phases (" L1 L3").
inline constexpr const char* kWaveLimitFormat =
    "%s ACV out of range\ndue to wave modification\n(Setting Voltage Limited)";
// Shows the waveform limit message for the collected phase text.
void ShowWaveLimitMessage(const char* phases);
// Appends " L<phase + 1>" to a collected phase text of `size` bytes.
void AppendLimitedPhase(char* text, unsigned size, int phase);
}  // namespace core
