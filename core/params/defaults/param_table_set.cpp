#include "core/params/defaults/param_default_rows.h"

namespace core {

constexpr ParamTableSet kParamDefaultTables = {
    {kAcvRows, 4},
    {kVoltLimitRows, 4},
    {kDcvRows, 2},
    {kVpkMaxRows, 2},
    {kVpkMinRows, 2},
    {kGainRows, 2},
    {kIrmsRows.data(), kCurrModelClasses * 4},
    {kIpkMaxRows.data(), kCurrModelClasses * 4},
    {kIpkMinRows.data(), kCurrModelClasses * 4},
    {kCaliVoltRows, 6},
    {kCaliCurrRows, kCaliCurrGroups * 6},
};

}  // namespace core
