#pragma once
// The control task's object with its messages and rows, and the words through which the output requests
// and the output synchronisation ask things of it.
#include <atomic>
#include <cstdint>

#include "core/system/util/step_obj.h"

extern StepObj g_CtrlTaskObj;

// Ten passes without synchronisation (after output on and off, range and mode changes).
void CtrlTask_HoldOff();

namespace core {

enum CtrlTaskMsg : uint32_t {
    kCtrlMsgStart = 1,      // row 1: start the wait
    kCtrlMsgWait = 2,       // row 1: count the wait down, then arm and run
    kCtrlMsgPass = 3,       // row 2: one periodic pass
    kCtrlMsgOutputOn = 4,   // row 2: switch the output on
    kCtrlMsgOutputOff = 5,  // row 2: switch the output off
};
constexpr uint32_t kCtrlRowWait = 1, kCtrlRowRun = 2;

// The power-on action countdown: bit 15 arms it, the low bits count the passes above 32768.
extern std::atomic<uint16_t> g_PowerOnCountdown;
constexpr uint16_t kPowerOnArmed = 0x8000;
constexpr uint16_t kPowerOnLoad = 0x8000 + 100;

}  // namespace core
