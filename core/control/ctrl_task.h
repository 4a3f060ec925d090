#pragma once
// The control task: the one place where instrument settings reach the power stage. It is a state object
// stepped once per 2 ms pass of the menu/control thread (through the periodic services): row 1 waits
// about 400 ms after start and arms the power-on action, row 2 runs the periodic pass and carries out the
// output on and off requests.
#include <atomic>
#include <cstdint>

#include "core/control/ctrl_task_state.h"
#include "core/system/util/step_obj.h"

// The calibration task object beside it; the poll runs nothing while calibration mode is on.
extern StepObj* g_CtrlCaliObj;

// One pass: mirrors the power stage's output status, then (outside calibration mode, where it returns
// -1) steps the task object and returns its result.
int32_t CtrlTask_Poll();
int32_t CtrlTask_StartupWait(StepRow* row, uint32_t msg);
int32_t CtrlTask_Run(StepRow* row, uint32_t msg);

// The power-on actions that enter the SEQUENCE or SIMULATE function, handed over by their screens at
// start-up; one that is absent does nothing.
struct CtrlTaskPowerOnEntries {
    void (*seq)();
    void (*sim)();
};
void CtrlTask_SetPowerOnEntries(const CtrlTaskPowerOnEntries& entries);

namespace core {

constexpr uint32_t kCtrlStartupPasses = 200;

// The start-up progress byte: bit 0 stored settings loaded, bit 1 control task started.
extern std::atomic<uint8_t> g_StartupProgress;

// One step of edge detector `channel` (0: input bit 2, 1: bit 6, 2: bit 7) on the input status word:
// fires (1) once for an input that was high for at least two passes and then low for two.
uint32_t CtrlEdgeDetect(int channel, uint32_t inputWord);

// The periodic pass (message 3) and the output requests (messages 4 and 5).
void CtrlTaskPass(StepRow* row);
void CtrlTaskOutputOn(StepRow* row);
void CtrlTaskOutputOff(StepRow* row);

// Back to the state of process start: object in row 1 with message 1, countdowns clear (tests).
// Tests start each case from a clean state through it.
void CtrlTaskReset();

}  // namespace core
