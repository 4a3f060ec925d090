#include "core/control/calibration/cali_procedure.h"

#include "core/control/calibration/cal_state.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kNextPointCmd = 16, kHighRangeCmd = 1u << 3, kAbortCmd = 1u << 5;
constexpr uint8_t kEndRequest = 1u << 3;

// Message offsets from the procedure's base (9100 or 9200).
enum : uint32_t { kStart = 0, kFirst = 1, kRangeEnd = 4, kMeasure = 8, kStatus = 9, kDone = 10, kEnd = 11 };

// What follows an accepted point: the page entered (or only the menu state set), the next message.
enum class Move { kEnterPage, kSetState, kProcessing };
struct PointStep {
    uint32_t point;  // offset of the point just measured
    Move move;
    uint32_t page;  // of the voltage procedure; the current pages lie 6 further
    uint32_t next;
};
constexpr PointStep kPointSteps[] = {
    {1, Move::kEnterPage, kMenuCalVoltR100P1, 2},        {2, Move::kEnterPage, kMenuCalVoltR100P2, 3},
    {3, Move::kSetState, kMenuCalVoltR200P0, kRangeEnd}, {5, Move::kEnterPage, kMenuCalVoltR200P1, 6},
    {6, Move::kEnterPage, kMenuCalVoltR200P2, 7},        {7, Move::kProcessing, kMenuCalibration, kDone},
};

struct Procedure {
    uint32_t base;
    uint32_t pageShift;  // 0 voltage, 6 current
    const char* lowFail;
    const char* highFail;
    bool unlockAtProcessing;  // the voltage procedure unlocks the keys with its last point, the current one
                              // when its high range ends
    std::atomic<uint8_t> flags{0};
    std::atomic<uint32_t> point{0};  // message of the point in progress
};

Procedure g_volt{9100, 0, "V100_Cali fail\n", "V200_Cali fail\n", true};
Procedure g_curr{9200, 6, "I100_Cali fail\n", "I200_Cali fail\n", false};

void Command(uint32_t cmd) {
    g_CalState.cmd.store(cmd, kRelaxed);
    BusReg_SetCaliCmd(static_cast<int32_t>(cmd));
}

uint32_t Result() {
    const uint32_t status = BusReg_GetCaliStatus();
    g_CalState.status.store(status, kRelaxed);
    return status & 7u;
}

// The menu/control thread enters the page, or only sets its menu state: this runs on the timer thread.
void EnterPage(uint32_t page) {
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, page, kCaliPageEnter);
}

void SetPageState(uint32_t page) {
    ScreenRequest_Ask(ScreenRequest::kCalibrationPage, page, kCaliPageStateOnly);
}

// The point was accepted: on to the page of the next one.
void Continue(Procedure& p, StepRow* row) {
    const uint32_t done = p.point.load(kRelaxed) - p.base;
    for (const PointStep& s : kPointSteps) {
        if (s.point != done) continue;
        const uint32_t page = s.page == kMenuCalibration ? s.page : s.page + p.pageShift;
        if (s.move == Move::kEnterPage) EnterPage(page);
        if (s.move == Move::kSetState) SetPageState(page);
        if (s.move == Move::kProcessing) {
            ShowMessage(2, "Processing...");
            SetPageState(page);
            if (p.unlockAtProcessing) g_ParamFlags.fetch_and(~core::kFlagKeysLocked, kRelaxed);
        }
        StepObjPostMsg(p.base + s.next, row);
        return;
    }
}

void RangeEnd(Procedure& p, StepRow* row, uint32_t msg) {
    const uint32_t result = Result();
    if (result == 1) {
        MsgQueue_Clear();
        const uint16_t mode = g_CalState.mode.fetch_or(kHighRangeCmd, kRelaxed) | kHighRangeCmd;
        BusReg_SetCaliMode(mode);
        Command(kHighRangeCmd);
        EnterPage(kMenuCalVoltR200P0 + p.pageShift);
        StepObjPostMsg(p.base + 5, row);
    } else if (result == 2) {
        ShowMessage(2, p.lowFail);
        Command(kAbortCmd);
    }
    p.point.store(msg, kRelaxed);
}

void HighRangeEnd(Procedure& p, StepRow* row) {
    const uint32_t result = Result();
    if (result == 1) {
        EnterPage(kMenuCalibration);
        StepObjPostMsg(p.base + kEnd, row);
    } else if (result == 2) {
        ShowMessage(2, p.highFail);
        Command(kAbortCmd);
    }
    if (!p.unlockAtProcessing && (result == 1 || result == 2))
        g_ParamFlags.fetch_and(~core::kFlagKeysLocked, kRelaxed);
}

int32_t ProcIdle(Procedure& p, StepRow* row, uint32_t msg) {
    if (msg == p.base + kStart) {
        p.flags.store(0, kRelaxed);
        g_CalState.measuring.fetch_or(1u, kRelaxed);
        StepObjPostState(2, p.base + kFirst, row);
    }
    return static_cast<int32_t>(msg);
}

int32_t ProcRun(Procedure& p, StepRow* row, uint32_t msg) {
    if (p.flags.fetch_and(static_cast<uint8_t>(~kEndRequest), kRelaxed) & kEndRequest) {
        StepObjPostMsg(p.base + kEnd, row);
        return static_cast<int32_t>(msg);
    }
    const uint32_t offset = msg - p.base;
    switch (offset) {
        case 1:
        case 2:
        case 3:
        case 5:
        case 6:
        case 7:
            p.point.store(msg, kRelaxed);
            StepObjPostMsg(p.base + kMeasure, row);
            break;
        case kStatus: {
            const uint32_t result = Result();
            if (result == 2) {
                // The stage asks for the point again: its popup is up already and is not painted anew, so
                // the keys the value's Enter locked are given back here.
                g_ParamFlags.fetch_and(~core::kFlagKeysLocked, kRelaxed);
                StepObjPostMsg(p.point.load(kRelaxed), row);
            } else if (result == 0) {
                MsgQueue_Clear();
                if (MsgPopup_IsPersistent()) MsgPopup_Close();
                Command(kNextPointCmd);
                Continue(p, row);
            }
            break;
        }
        case kRangeEnd:
            RangeEnd(p, row, msg);
            break;
        case kDone:
            HighRangeEnd(p, row);
            break;
        case kEnd:
            StepObjPostState(1, p.base + kStart, row);
            break;
        default:  // kMeasure: the page or SCPI asks for the status with the averaging count
            break;
    }
    return static_cast<int32_t>(msg);
}

int32_t VoltIdle(StepRow* row, uint32_t msg) {
    return ProcIdle(g_volt, row, msg);
}
int32_t VoltRun(StepRow* row, uint32_t msg) {
    return ProcRun(g_volt, row, msg);
}
int32_t CurrIdle(StepRow* row, uint32_t msg) {
    return ProcIdle(g_curr, row, msg);
}
int32_t CurrRun(StepRow* row, uint32_t msg) {
    return ProcRun(g_curr, row, msg);
}

StepRow g_voltRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, VoltIdle},    {{0}, {0}, VoltRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};
StepRow g_currRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, CurrIdle},    {{0}, {0}, CurrRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};

StepRow* CurrentRow(StepObj& obj) {
    const uint32_t state = obj.state.load(std::memory_order_acquire);
    return &obj.rows[state < kStepRows ? state : 0];
}

int32_t AvgSet(StepObj& obj, Procedure& p, int32_t count) {
    BusReg_SetCaliAvgCount(count);
    if (p.point.load(kRelaxed) != static_cast<uint32_t>(-1))
        StepObjPostMsg(p.base + kStatus, CurrentRow(obj));
    return count;
}

void ResetObj(StepObj& obj, Procedure& p) {
    StepObjRewind(&obj, 1, p.base + kStart);
    p.flags.store(0);
    p.point.store(0);
}
}  // namespace

StepObj g_CaliVoltObj{{1}, {9100}, g_voltRows};
StepObj g_CaliCurrObj{{1}, {9200}, g_currRows};

void core::CaliProcedureRewind(StepObj* procedure) {
    if (procedure == &g_CaliVoltObj) ResetObj(g_CaliVoltObj, g_volt);
    if (procedure == &g_CaliCurrObj) ResetObj(g_CaliCurrObj, g_curr);
}

void core::CaliProceduresReset() {
    ResetObj(g_CaliVoltObj, g_volt);
    ResetObj(g_CaliCurrObj, g_curr);
}

int32_t CaliVolt_Step() {
    StepObjRun(&g_CaliVoltObj);
    return static_cast<int32_t>(g_CaliVoltObj.msg.load(std::memory_order_acquire));
}

int32_t CaliCurr_Step() {
    StepObjRun(&g_CaliCurrObj);
    return static_cast<int32_t>(g_CaliCurrObj.msg.load(std::memory_order_acquire));
}

void CaliVoltStepSignal() {
    g_volt.flags.fetch_or(kEndRequest, kRelaxed);
}

void CaliCurrStepSignal() {
    g_curr.flags.fetch_or(kEndRequest, kRelaxed);
}

int32_t CaliVoltAvgSet(int32_t count) {
    return AvgSet(g_CaliVoltObj, g_volt, count);
}

int32_t CaliCurrAvgSet(int32_t count) {
    return AvgSet(g_CaliCurrObj, g_curr, count);
}
