#pragma once
// The record of a calibration point: its nominal value and the limits a reading given for it must keep.
#include <cstdint>

#include "core/params/param_rec.h"

// Copies the record of point state 317-328 (voltage points 317-322, current points 323-328) into out; any
// other state gives the record of 317.
void caliGetStepRecord(uint32_t state, ParamRec* out);
