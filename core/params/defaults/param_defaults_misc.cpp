// Default rows of the measurement-view items and of the miscellaneous, output-impedance and parallel
// settings.
#include "core/params/defaults/param_defaults.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"

namespace core {
namespace {

// A choice item: no scale, no decimals, empty unit.
constexpr ParamDefaultRow C(int32_t value, int32_t max, int32_t min) {
    return {value, max, min, 0.0f, kUnitNone, 0, 0};
}
constexpr ParamDefaultRow N(int32_t value, int32_t max, int32_t min, float scale, int16_t decimals,
                            int16_t digits) {
    return {value, max, min, scale, kUnitNone, decimals, digits};
}

}  // namespace

// Groups: 0 AC-INT (mode 1), 1 DC-INT (mode 2), 2 AC+DC-SYNC and AC-SYNC (modes 7, 8), 3 all other modes.
// Within a group ids 38..44; value / max, min 0.
constexpr ParamDefaultRow kMeasRows[kMeasGroups * 7] = {
    C(0, 12, 0), C(0, 8, 0), C(0, 5, 0), C(7, 8, 0), C(0, 2, 0), C(0, 3, 0), C(0, 1, 0),
    C(0, 5, 0),  C(0, 5, 0), C(0, 1, 0), C(5, 5, 0), C(0, 2, 0), C(0, 3, 0), C(0, 1, 0),
    C(0, 11, 0), C(0, 7, 0), C(6, 6, 0), C(7, 8, 0), C(0, 2, 0), C(0, 3, 0), C(0, 1, 0),
    C(0, 11, 0), C(0, 7, 0), C(0, 5, 0), C(7, 8, 0), C(0, 2, 0), C(0, 3, 0), C(0, 1, 0),
};

uint32_t MeasGroupOfMode(uint32_t mode) {
    switch (mode) {
        case kModeAcInt:
            return 0;
        case kModeDcInt:
            return 1;
        case kModeAcDcSync:
        case kModeAcSync:
            return 2;
        default:
            return 3;
    }
}

constexpr MiscRow kMiscRows[kMiscRowCount] = {
    {kParamPeakHoldTimeRow, N(1, 60000, 1, 1.0f, 0, 5)},  // peak-hold time
    {kParamBalanceModeRow, C(0, 1, 0)},                   // balance mode
    {kParamPeakClearItemRow, C(0, 3, 0)},                 // peak-hold clear item
    {kParamPowerOnStateRow, C(0, 3, 0)},                  // power-on output state
    {kParamBuzzerRow, C(1, 1, 0)},                        // buzzer
    {kParamRemoteSenseRow, C(0, 1, 0)},                   // remote sensing
    {kParamSlewRateRow, C(1, 2, 0)},                      // slew-rate selection
    {kParamOutputRelayRow, C(1, 1, 0)},                   // output relay
    {kParamHarmModeRow, C(0, 1, 0)},                      // harmonic display mode
    {kParamWaveShape, C(kWaveSin, 255, 0)},               // waveform (every unit)
    {kParamIrmsLimitMode, C(1, 1, 0)},                    // rms current limit mode
    {kParamIpkLimitMode, C(1, 1, 0)},                     // peak-current limit mode (unit 0)
    {kParamExtControlRow, C(0, 1, 0)},                    // external control
    {kParamAcvUnitRow, C(0, 1, 0)},                       // AC voltage unit
    {kParamPhaseSetChangeRow, C(0, 1, 0)},                // phase set-change
    {kParamRelockRow, C(1, 1, 0)},                        // relock
    {kParamMonitorSource1Row, C(0, 5, 0)},                // monitor source 1
    {kParamMonitorSource2Row, C(3, 5, 0)},                // monitor source 2
    {kParamMonitorAmpRow, C(0, 1, 0)},                    // monitor amplitude
    {kParamTrigWidthRow, N(1, 600, 1, 0.1f, 1, 3)},       // trigger output width
    {kParamTrigSourceRow, C(0, 2, 0)},                    // trigger source
    {kParamWaveDuty, N(500, 999, 1, 0.1f, 1, 3)},         // waveform duty (every unit), 0.1 %
    {kParamAvgCountRow, N(8, 128, 1, 1.0f, 0, 3)},        // averaging count
    {kParamUpdateRateRow, C(0, 8, 0)},                    // update rate
};

constexpr MiscRow kImpedanceRows[kImpedanceRowCount] = {
    {kParamOutputImpedanceRow, C(0, 1, 0)},               // output impedance
    {kParamInductanceL1Row, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L1
    {kParamInductanceL2Row, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L2
    {kParamInductanceL3Row, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L3
    {kParamResistanceL1Row, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L1
    {kParamResistanceL2Row, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L2
    {kParamResistanceL3Row, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L3
};

constexpr MiscRow kParallelRows[4] = {
    {kParamParallelPositionRow, C(1, 1, 0)},            // parallel position
    {kParamParallelNumberRow, N(2, 3, 2, 1.0f, 1, 1)},  // parallel unit count
    {kParamParallelEnableRow, C(0, 1, 0)},              // parallel enable, model types 1 and 2
    {kParamParallelEnableRow, C(1, 1, 0)},              // parallel enable, all other model types
};

}  // namespace core
