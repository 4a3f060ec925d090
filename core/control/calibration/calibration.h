#pragma once
// The calibration-mode object, stepped every 4 ms by the timer thread, which runs the voltage and the
// current calibration procedures, and the calibration state that the panel and SCPI share.
#include <atomic>
#include <cstdint>

#include "core/system/util/step_obj.h"

struct CalStateRec {
    std::atomic<uint8_t> mode{0};     // bit 0 calibration mode, bit 3 high voltage range
    std::atomic<uint32_t> cmd{0};     // bit 3 high range, bit 5 abort, 16 next point
    std::atomic<uint32_t> status{0};  // copy of register 2098
    std::atomic<uint8_t> measuring{0};
};
extern CalStateRec g_CalState;
extern StepObj g_CaliModeObj;
extern StepObj g_CaliVoltObj;
extern StepObj g_CaliCurrObj;

namespace core {
// Calibration mode off and nothing requested, the objects at their start messages (tests).
void CalStateReset();
}  // namespace core

inline bool CalibrationModeActive() {
    return (g_CalState.mode.load(std::memory_order_relaxed) & 1u) != 0;
}

void CaliMode_Step();
int32_t CaliModeStart();
// Start a procedure when the mode object idles (9002), else -1. The procedure starts from its first
// point whatever message it was left holding.
int32_t CaliVoltStart();
int32_t CaliCurrStart();
// The calibration save, recall and default exits: the stage is reset 40 ms later.
int32_t CaliSaveDone();
int32_t CaliRecallDone();
int32_t CaliDefaultDone();
// End the voltage or current procedure at its next step.
void CaliVoltStepSignal();
void CaliCurrStepSignal();
// Writes the averaging count (register 2443) and asks the procedure to read the point's status.
int32_t CaliVoltAvgSet(int32_t count);
int32_t CaliCurrAvgSet(int32_t count);
int32_t CaliVolt_Step();
int32_t CaliCurr_Step();
