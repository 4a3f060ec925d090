#pragma once
// The generic handler of the numeric settings: query with MINimum/MAXimum, set with the scaling, the
// per-phase writes, the range checks and the follow-up limit checks.
#include <cstdint>

struct ScpiInterface;

int scpiNumericParam(ScpiInterface* ifc, uint32_t id);

namespace scpi {
// The steps of a real (or integer) value in a record of `scale`: rounded half away from zero at the third
// decimal, then truncated. False when the steps do not fit 32 bits (or the scale is 0).
bool ScaledSteps(double value, float scale, int32_t* steps);
}  // namespace scpi
