#include "core/control/alarms/alarms.h"

#include "core/control/alarms/alarm_monitor.h"
#include "core/control/alarms/alarm_state.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kMsgMonitor = 9000, kMsgStart = 9001, kMsgMonitorOff = 9004;
constexpr uint32_t kRowStart = 1, kRowRun = 2, kRowOff = 4;
// Bus holds of a clear: the PFC unit (summary bit 8) needs 6 s, the DCDC stage (bit 15) 2 s.
constexpr uint32_t kClearWaitPfcMs = 6000, kClearWaitDcdcMs = 2000;

using core::g_AlarmMonitor;

// Counts the object's delay down; true while it was still positive (the step is skipped).
bool Delaying() {
    int32_t d = g_AlarmMonitor.delay.load(kRelaxed);
    if (d <= 0) return false;
    g_AlarmMonitor.delay.store(d - 1, kRelaxed);
    return true;
}

bool MonitorOn() {
    return (g_AlarmState.flags.load(kRelaxed) & kAlarmFlagMonitorOn) != 0;
}

int32_t AlarmStart(StepRow* row, uint32_t msg) {
    if (Delaying()) return static_cast<int32_t>(msg);
    if (msg == kMsgStart) {
        g_AlarmState.flags.fetch_or(kAlarmFlagMonitorOn, kRelaxed);
        g_AlarmMonitor.delay.store(20, kRelaxed);
        StepObjPostState(kRowRun, kMsgMonitor, row);
    }
    return static_cast<int32_t>(msg);
}

int32_t AlarmRun(StepRow* row, uint32_t msg) {
    if (Delaying()) return static_cast<int32_t>(msg);
    if (!MonitorOn()) StepObjPostState(kRowOff, kMsgMonitorOff, row);
    if (msg == kMsgMonitor) core::MonitorPass();
    return static_cast<int32_t>(msg);
}

int32_t AlarmOff(StepRow* row, uint32_t msg) {
    if (Delaying()) return static_cast<int32_t>(msg);
    if (msg == kMsgMonitorOff) {
        g_AlarmState.summary.store(0, kRelaxed);
        if (MonitorOn()) StepObjPostState(kRowRun, kMsgMonitor, row);
    }
    return static_cast<int32_t>(msg);
}

StepRow g_alarmRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, AlarmStart}, {{0}, {0}, AlarmRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, AlarmOff},   {{0}, {0}, StepRowIdle},
};

uint32_t ReadSummary() {
    uint32_t summary = 0;
    for (int p = 0; p < 3; ++p) {
        const uint32_t word = BusReg_GetAlarmWord(p);
        g_AlarmState.phase[p].store(word, kRelaxed);
        summary |= word;
    }
    g_AlarmState.summary.store(summary, kRelaxed);
    return summary;
}
}  // namespace

StepObj g_AlarmObj{{kRowStart}, {kMsgStart}, g_alarmRows};

void core::AlarmObjReset() {
    StepObjRewind(&g_AlarmObj, kRowStart, kMsgStart);
    g_AlarmMonitor.shownPhase.store(0);
    g_AlarmMonitor.shownSystem.store(0);
    g_AlarmMonitor.shownLink.store(0);
    g_AlarmMonitor.sentAlarm.store(0);
    g_AlarmMonitor.sentSystem.store(0);
    g_AlarmMonitor.reportingSlave.store(0);
    g_AlarmMonitor.noModel.store(0);
    AlarmTimerDefaults();
}

void AlarmTimerDefaults() {
    g_AlarmMonitor.delay.store(50);
    core::g_AlarmClearCountdown.store(0);
    g_AlarmMsgHold.store(0);
}

void AlarmService() {
    StepObjRun(&g_AlarmObj);
}

void AlarmClear() {
    if (core::AlarmLatchOverride())
        SysStatusClear(kSysAlarmLatched);
    else if (SysStatusTest(kSysAlarmLatched))
        return;
    BusReg_AlarmClear(1);
    const uint32_t summary = g_AlarmState.summary.load(kRelaxed);
    const uint32_t waitMs = (summary & core::Bit(8))    ? kClearWaitPfcMs
                            : (summary & core::Bit(15)) ? kClearWaitDcdcMs
                                                        : 0;
    if (waitMs != 0) {
        // The stage restarts its power unit: no transfer may disturb it meanwhile.
        g_BusHold.store(1, std::memory_order_release);
        ShowMessageHold("Alarm Clear\nPlease Wait...");
        plat::SleepMs(waitMs);
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
        g_BusHold.store(0, std::memory_order_release);
    }
    core::g_AlarmClearCountdown.store(core::kAlarmClearStart, kRelaxed);
}

uint32_t AlarmStatusUpdate() {
    const uint32_t summary = ReadSummary();
    if (summary != 0 && (summary & (core::Bit(9) | core::Bit(12))) != 0 && !core::AlarmLatchOverride())
        SysStatusSet(kSysAlarmLatched);
    return summary;
}

int32_t IsAlarmActive() {
    return g_AlarmState.summary.load(kRelaxed) != 0 ? 1 : 0;
}

void AlarmMonitorOn() {
    g_AlarmState.flags.fetch_or(kAlarmFlagMonitorOn, kRelaxed);
}

void AlarmMonitorOff() {
    g_AlarmState.flags.fetch_and(static_cast<uint8_t>(~kAlarmFlagMonitorOn), kRelaxed);
}

int32_t IsAlarmMonitorOn() {
    return MonitorOn() ? 1 : 0;
}

int32_t AlarmBeepActive() {
    return (g_AlarmState.flags.load(kRelaxed) & kAlarmFlagBeepSounding) != 0 ? 1 : 0;
}

void AlarmBeepAck() {
    if (g_AlarmState.summary.load(kRelaxed) != 0) g_AlarmState.flags.fetch_or(kAlarmFlagBeepAcked, kRelaxed);
}

int32_t LimiterMsgActive() {
    return SysStatusTest(kSysLimiterMessage) ? 1 : 0;
}

void LimiterMsgAckClear() {
    if (!SysStatusTest(kSysLimiterMessage)) SysStatusClear(kSysLimiterAcknowledged);
}
