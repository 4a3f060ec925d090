#pragma once
// The record of a calibration point: its nominal value and the limits a reading given for it must keep.
#include <cstdint>

#include "core/params/param_rec.h"

// Copies the record of a point state (voltage points kMenuCalVoltR100P0-kMenuCalVoltR200P2, current points
// kMenuCalCurrP0-kMenuCalCurrP5) into out; any other state gives the record of kMenuCalVoltR100P0.
void caliGetStepRecord(uint32_t state, ParamRec* out);
