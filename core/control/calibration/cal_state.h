#pragma once
// The calibration state that the mode object, its procedures, the panel and SCPI share.
#include <atomic>
#include <cstdint>

struct CalStateRec {
    // The mode word last written to the stage: bits 0-2 the phase being calibrated, bit 3 the high voltage
    // range, bits 4-5 voltage or current, bits 6-8 the one-shots; 0 outside calibration.
    std::atomic<uint16_t> mode{0};
    std::atomic<uint32_t> cmd{0};     // bit 3 high range, bit 5 abort, 16 next point
    std::atomic<uint32_t> status{0};  // copy of register 2098
    std::atomic<uint8_t> measuring{0};
    std::atomic<uint32_t> phase{0};   // the phase being calibrated, 0-2
    // The item list's selection (0-8) that a return to the list puts back; cleared when calibration is
    // entered afresh.
    std::atomic<uint32_t> savedSelection{0};
};
extern CalStateRec g_CalState;

inline bool CalibrationModeActive() {
    return g_CalState.mode.load(std::memory_order_relaxed) != 0;
}

// From entering the calibration page until it is left: its item list, points and default confirmation,
// and the mode word a point leaves set until the page's EXIT. A page change that is not calibration's own
// would strand the unit in calibration mode with its keys locked.
bool CalibrationInProgress();

// A point's page is up (317-328): the stage runs that point. Another start would replace its run and
// leave the page waiting, its keys locked, for an answer that never comes.
bool CalibrationPointUp();
