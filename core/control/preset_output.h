#pragma once
// A preset save or recall as the output sees it: a recall reaches the power stage wholesale.
#include <cstdint>

namespace core {

// `PresetRangeCheckRun` (save, index); after a recall that was done the control task's next pass rewrites
// every output register from the store, waveforms and voltages included, and takes the recalled balance
// mode as it is. Runs on the menu/control thread, between the control task's passes, as every writer of
// the output settings does: a pass that read a setting before the recall would store it back over it.
// A recall is refused (-1, nothing changed) while a calibration is in progress: the barcode scanner and
// the trigger lines recall without a command, and the output must not be reconfigured under the running
// point.
int PresetRunForOutput(uint32_t save, uint32_t index);

}  // namespace core
