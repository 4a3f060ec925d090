#pragma once
// The row arrays behind the default table set (see param_defaults.h); only the table files include this.
#include <array>

#include "core/params/defaults/param_defaults.h"

namespace core {

extern const ParamDefaultRow kAcvRows[4];
extern const ParamDefaultRow kVoltLimitRows[4];
extern const ParamDefaultRow kDcvRows[2];
extern const ParamDefaultRow kVpkMaxRows[2];
extern const ParamDefaultRow kVpkMinRows[2];
extern const ParamDefaultRow kGainRows[2];
extern const std::array<ParamDefaultRow, kCurrModelClasses * 4> kIrmsRows;
extern const std::array<ParamDefaultRow, kCurrModelClasses * 4> kIpkMaxRows;
extern const std::array<ParamDefaultRow, kCurrModelClasses * 4> kIpkMinRows;
extern const ParamDefaultRow kCaliVoltRows[6];
extern const ParamDefaultRow kCaliCurrRows[kCaliCurrGroups * 6];

}  // namespace core
