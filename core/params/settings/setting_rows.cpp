#include "core/params/settings/setting_rows.h"

namespace settings {

namespace {
bool IpkLimitOn() {
    return paramGetValue(kParamIpkLimitMode, 0) == 1;
}
}  // namespace

int WriteIpkHigh(int32_t v, regbus::Phase phase) {
    return IpkLimitOn() ? BusReg_SetIpkLimitHigh(v, phase) : BusReg_SetIpkOffHigh(v, phase);
}

int WriteIpkLow(int32_t v, regbus::Phase phase) {
    return IpkLimitOn() ? BusReg_SetIpkLimitLow(v, phase) : BusReg_SetIpkOffLow(v, phase);
}

}  // namespace settings
