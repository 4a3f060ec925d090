// Default rows of the calibration points: voltages in mV, currents in mA.
#include "core/params/defaults/param_default_rows.h"

namespace core {
namespace {

constexpr ParamDefaultRow Mv(int32_t value, int32_t max, int32_t min, int16_t digits) {
    return {value, max, min, 0.001f, kUnitVolt, 3, digits};
}
constexpr ParamDefaultRow Ma(int32_t value, int32_t max, int32_t min, int16_t digits) {
    return {value, max, min, 0.001f, kUnitAmp, 3, digits};
}

}  // namespace

constexpr ParamDefaultRow kCaliVoltRows[6] = {
    Mv(-250000, -220000, -280000, 6), Mv(250000, 280000, 230000, 6), Mv(0, 5000, -5000, 4),
    Mv(-500000, -445000, -555000, 6), Mv(500000, 555000, 455000, 6), Mv(0, 5000, -5000, 4),
};

constexpr ParamDefaultRow kCaliCurrRows[kCaliCurrGroups * 6] = {
    // group 0
    Ma(-15000, -9500, -20500, 5),
    Ma(15000, 20500, 9500, 5),
    Ma(0, 1000, -1000, 4),
    Ma(-7500, -4250, -10750, 5),
    Ma(7500, 10750, 4250, 5),
    Ma(0, 1000, -1000, 4),
    // group 1
    Ma(-20000, -13000, -27000, 5),
    Ma(20000, 27000, 13000, 5),
    Ma(0, 1000, -1000, 4),
    Ma(-10000, -6000, -14000, 5),
    Ma(10000, 14000, 6000, 5),
    Ma(0, 1000, -1000, 4),
    // group 2
    Ma(-40000, -27000, -53000, 5),
    Ma(40000, 53000, 27000, 5),
    Ma(0, 1000, -1000, 4),
    Ma(-20000, -13000, -27000, 5),
    Ma(20000, 27000, 13000, 5),
    Ma(0, 1000, -1000, 4),
};

}  // namespace core
