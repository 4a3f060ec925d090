// Default rows of the voltage settings: area 0 the 100 V class, area 1 (and up) the 200 V class.
#include "core/params/defaults/param_default_rows.h"

namespace core {
namespace {

constexpr ParamDefaultRow V(int32_t value, int32_t max, int32_t min, const char* unit) {
    return {value, max, min, 0.01f, unit, 2, 5};
}
constexpr ParamDefaultRow Gain(int32_t value, int32_t max, int32_t min) {
    return {value, max, min, 0.1f, kUnitNone, 1, 4};
}

}  // namespace

// Rows VoltRow(set, area): rms 100 V, rms 200 V, Vpp 100 V, Vpp 200 V.
constexpr ParamDefaultRow kAcvRows[4] = {
    V(0, 17500, 0, kUnitVrms),
    V(0, 35000, 0, kUnitVrms),
    V(0, 50000, 0, kUnitVpp),
    V(0, 100000, 0, kUnitVpp),
};
constexpr ParamDefaultRow kVoltLimitRows[4] = {
    V(17500, 17500, 1750, kUnitVrms),
    V(35000, 35000, 3500, kUnitVrms),
    V(50000, 50000, 2000, kUnitVpp),
    V(100000, 100000, 4000, kUnitVpp),
};

// Rows by area.
constexpr ParamDefaultRow kDcvRows[2] = {
    V(0, 25000, -25000, kUnitVdc),
    V(0, 50000, -50000, kUnitVdc),
};
constexpr ParamDefaultRow kVpkMaxRows[2] = {
    V(25000, 25000, 1000, kUnitVolt),
    V(50000, 50000, 2000, kUnitVolt),
};
constexpr ParamDefaultRow kVpkMinRows[2] = {
    V(-25000, -1000, -25000, kUnitVolt),
    V(-50000, -2000, -50000, kUnitVolt),
};
constexpr ParamDefaultRow kGainRows[2] = {
    Gain(1000, 2500, 0),
    Gain(2000, 5000, 0),
};

}  // namespace core
