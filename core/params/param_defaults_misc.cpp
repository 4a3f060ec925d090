// Default rows of the measurement-view items and of the miscellaneous, output-impedance and parallel
// settings.
#include "core/params/param_defaults.h"

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
        case 1:
            return 0;
        case 2:
            return 1;
        case 7:
        case 8:
            return 2;
        default:
            return 3;
    }
}

constexpr MiscRow kMiscRows[kMiscRowCount] = {
    {96, N(1, 60000, 1, 1.0f, 0, 5)},  // peak-hold time
    {100, C(0, 1, 0)},                 // balance mode
    {102, C(0, 3, 0)},                 // peak-hold clear item
    {104, C(0, 3, 0)},                 // power-on output state
    {106, C(1, 1, 0)},                 // buzzer
    {108, C(0, 1, 0)},                 // remote sensing
    {110, C(1, 2, 0)},                 // slew-rate selection
    {112, C(1, 1, 0)},                 // output relay
    {114, C(0, 1, 0)},                 // harmonic display mode
    {30, C(16, 255, 0)},               // waveform (every unit)
    {90, C(1, 1, 0)},                  // rms current limit mode
    {91, C(1, 1, 0)},                  // peak-current limit mode (unit 0)
    {116, C(0, 1, 0)},                 // external control
    {118, C(0, 1, 0)},                 // AC voltage unit
    {120, C(0, 1, 0)},                 // phase set-change
    {132, C(1, 1, 0)},                 // relock
    {122, C(0, 5, 0)},                 // monitor source 1
    {124, C(3, 5, 0)},                 // monitor source 2
    {126, C(0, 1, 0)},                 // monitor amplitude
    {128, N(1, 600, 1, 0.1f, 1, 3)},   // trigger output width
    {130, C(0, 2, 0)},                 // trigger source
    {34, N(500, 999, 1, 0.1f, 1, 3)},  // waveform duty (every unit), 0.1 %
    {134, N(8, 128, 1, 1.0f, 0, 3)},   // averaging count
    {136, C(0, 8, 0)},                 // update rate
};

constexpr MiscRow kImpedanceRows[kImpedanceRowCount] = {
    {193, C(0, 1, 0)},                  // output impedance
    {195, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L1
    {197, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L2
    {199, N(1, 20000, 0, 0.1f, 1, 5)},  // inductance L3
    {201, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L1
    {203, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L2
    {205, N(1, 10, 0, 0.1f, 1, 2)},     // resistance L3
};

constexpr MiscRow kParallelRows[4] = {
    {208, C(1, 1, 0)},              // parallel position
    {210, N(2, 3, 2, 1.0f, 1, 1)},  // parallel unit count
    {212, C(0, 1, 0)},              // parallel enable, model types 1 and 2
    {212, C(1, 1, 0)},              // parallel enable, all other model types
};

}  // namespace core
