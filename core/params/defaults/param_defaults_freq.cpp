// Default rows of the frequency and phase settings.
#include "core/params/defaults/param_defaults.h"
#include "core/params/settings/angle_bounds.h"

namespace core {
namespace {

constexpr ParamDefaultRow Hz(int32_t value, int32_t max, int32_t min) {
    return {value, max, min, 0.01f, kUnitHz, 2, 6};
}
constexpr ParamDefaultRow Deg(int32_t value, int32_t max, int32_t min) {
    return {value, max, min, 0.1f, kUnitDegree, 1, 4};
}

}  // namespace

// Rows: value, upper limit, lower limit, each for frequency class 0 (modes 0, 5, 7) and class 1.
constexpr ParamDefaultRow kFreqRowsSingle[kFreqRowCount] = {
    Hz(5000, 200000, 100),   Hz(5000, 200000, 1500),    // frequency
    Hz(200000, 200000, 100), Hz(200000, 200000, 1500),  // upper limit
    Hz(100, 200000, 100),    Hz(1500, 200000, 1500),    // lower limit
};
constexpr ParamDefaultRow kFreqRowsParallel[kFreqRowCount] = {
    Hz(5000, 100000, 100),   Hz(5000, 100000, 1500),    // frequency
    Hz(100000, 100000, 100), Hz(100000, 100000, 1500),  // upper limit
    Hz(100, 100000, 100),    Hz(1500, 100000, 1500),    // lower limit
};

using settings::kAngleMax;
constexpr ParamDefaultRow kOnOffPhaseRow = Deg(0, kAngleMax, 0);
constexpr ParamDefaultRow kPhaseAngleRows[3] = {Deg(0, kAngleMax, 0), Deg(1200, kAngleMax, 0),
                                                Deg(2400, kAngleMax, 0)};
constexpr ParamDefaultRow kSyncPhaseRow = Deg(0, kAngleMax, 0);
constexpr ParamDefaultRow kSigRow = {0, 3, 0, 0.0f, kUnitNone, 0, 0};
constexpr ParamDefaultRow kSrcRow = {0, 2, 0, 0.0f, kUnitNone, 0, 0};

}  // namespace core
