#pragma once
// Re-initialising the frequency and current records of one unit from the model's tables, for a settings
// block that is re-based on the limits of a new operating form (stand-alone or parallel).
#include <cstdint>

namespace core {

// The unit's frequency, upper and lower frequency-limit records of every output mode from the model's
// frequency rows (the parallel set with parallel), and its rms current, peak-current maximum and minimum
// records of every range variant from the current tables, their value and limits multiplied by
// currFactor. Takes g_ParamLock. -1 (nothing changed) without a model class or for a unit above 3.
int ParamUnitLimitsInit(uint32_t unit, bool parallel, int32_t currFactor);

}  // namespace core
