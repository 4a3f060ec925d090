// The messages of the alarm monitor that the message hold paces: start-up and system errors (a slave
// reports its own to the master instead), the external sync error, and the limiter, sensing and
// calibration-data messages of the output status.
#include <cstdio>
#include <cstring>

#include "core/control/alarms/alarm_monitor.h"
#include "core/control/alarms/alarm_state.h"
#include "core/control/alarms/alarm_texts.h"
#include "core/control/alarms/alarms.h"
#include "core/control/alarms/fault_index.h"
#include "core/control/hooks/core_services.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/stage_status.h"
#include "core/system/state/sys_status.h"
#include "platform/stage/reg_map.h"

namespace core {
namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr size_t kText = 160;
constexpr uint32_t kStartupFaultBits = 0x1Fu;  // bits 0-4 of the fault word; a clear bit is a fault
constexpr const char* kSyncErrorText = "External Sync Frequency \nError";

// The first slave of an active master whose word is set; 0 when none (or not an active master).
template <typename Get>
uint32_t SlaveWith(Get get) {
    if (!ParallelActiveMaster()) return 0;
    for (uint32_t n = 1; n <= 5; ++n)
        if (get(g_ParallelLink.slave[n]) != 0) return n;
    return 0;
}

void Hold(uint32_t passes) {
    g_AlarmMsgHold.store(passes, kRelaxed);
}

// Shows a system error text, wrapped for a master in service mode with the reporting slave.
void ShowSystem(const char* text, uint32_t slave) {
    g_AlarmMonitor.reportingSlave.store(slave, kRelaxed);
    char shown[kText];
    AlarmWrapSystem(shown, sizeof shown, text);
    ShowErrorMessageHold(2, shown);
}

// A slave reports to the master; every other unit shows the text.
void Report(uint32_t item, uint32_t value, const char* text, uint32_t slave) {
    if (ParallelActiveSlave())
        ParallelSendCmd(LinkOwnAddress(), item, value);
    else
        ShowSystem(text, slave);
}

void ShowIndexError(const char* name, uint32_t index, uint32_t item, uint32_t slave) {
    char text[kText];
    if (g_ServiceFlags.detailAlarm.load(kRelaxed) != 0)
        std::snprintf(text, sizeof text, "%s \n%s", name, kPhaseSetNames[index & 7u]);
    else
        std::snprintf(text, sizeof text, "%s", name);
    Report(item, index, text, slave);
    Hold(5);
}

void StartupFault(uint32_t summary, uint32_t slave) {
    if (ParallelActiveSlave()) {
        const uint32_t own = LinkOwnAddress();
        const uint32_t raw = BusReg_ReadRaw(0, regmap::kFaultWord);
        ParallelSendCmd(own, 21, 1);
        ParallelSendCmd(own, 24, raw & 0xFFFFu);
        ParallelSendCmd(own, 23, raw >> 16);
    } else if (summary & Bit(9)) {
        ShowSystem("Power Input Anomaly", slave);
    } else if (g_ServiceFlags.detailAlarm.load(kRelaxed) != 0 && ParallelActiveMaster()) {
        // The service master's form names the unit and has its own line break before the bit.
        char text[kText];
        if (slave == 0)
            std::snprintf(text, sizeof text, "Master\n %s \n(Bit: %d)", "HW Model Startup Error",
                          BusReg_GetFaultIndex());
        else
            std::snprintf(text, sizeof text, "Slave%u\n %s \n(Bit: %d)", slave, "HW Model Startup Error",
                          BusReg_GetFaultIndex());
        g_AlarmMonitor.reportingSlave.store(slave, kRelaxed);
        ShowErrorMessageHold(2, text);
    } else {
        char text[kText];
        std::snprintf(text, sizeof text, "%s \n (Bit: %d)", "HW Model Startup Error", BusReg_GetFaultIndex());
        ShowSystem(text, slave);
    }
    Hold(1);
}

void SystemErrors(uint32_t summary) {
    uint32_t slave = SlaveWith([](const ParallelSlaveRec& s) { return s.sysError1.load(kRelaxed); });
    if (g_PhaseFault.load(kRelaxed) != 0 || slave != 0) {
        Report(20, 1, "System Error(1)", slave);
        Hold(5);
        return;
    }
    slave = SlaveWith([](const ParallelSlaveRec& s) { return s.moduleError.load(kRelaxed); });
    uint32_t index =
        slave != 0 ? g_ParallelLink.slave[slave].moduleError.load(kRelaxed) : g_ModuleErrMask.load(kRelaxed);
    if (index != 0) return ShowIndexError("Module Error", index, 34, slave);
    slave = SlaveWith([](const ParallelSlaveRec& s) { return s.fwError.load(kRelaxed); });
    index = slave != 0 ? g_ParallelLink.slave[slave].fwError.load(kRelaxed) : g_FwErrMask.load(kRelaxed);
    if (index != 0) return ShowIndexError("FW Error", index, 35, slave);
    slave = SlaveWith([](const ParallelSlaveRec& s) { return s.sysError4.load(kRelaxed); });
    if (g_PowerStageBootStatus.load(kRelaxed) == 0 || slave != 0) {
        Report(22, 1, "System Error(4)", slave);
        Hold(5);
        return;
    }
    slave = SlaveWith([](const ParallelSlaveRec& s) { return s.startupError.load(kRelaxed); });
    const bool ownFault = (BusReg_ReadRaw(0, regmap::kFaultWord) & kStartupFaultBits) != kStartupFaultBits;
    if (ownFault || slave != 0) return StartupFault(summary, slave);
    g_AlarmMonitor.noModel.store(0, kRelaxed);
    if (SysStatusTest(kSysNvMemFailure)) {
        ShowSystem("System Error(3)", 0);
        Hold(10);
    } else if (SysStatusTest(kSysStorageError)) {
        ShowSystem("System Error(5)", 0);
        Hold(10);
    } else if (g_ModelId.load(kRelaxed) == 0) {
        ShowSystem("System Error(2)", 0);
        Hold(5);
        g_AlarmMonitor.noModel.store(1, kRelaxed);
    }
}

// The limiter text of the output status bits 5 (IRMS), 6 (power) and 8-10 (IPK); nullptr when none.
bool LimiterText(uint32_t out, char* text, size_t size) {
    const bool irms = out & Bit(5), power = out & Bit(6), ipk = (out & (Bit(8) | Bit(9) | Bit(10))) != 0;
    if (!irms && !power && !ipk) return false;
    if (power && !irms && !ipk)
        std::snprintf(text, size, "Power\nLimiter Operations");
    else if (irms && !power && !ipk)
        std::snprintf(text, size, "IRMS\nLimiter Operations");
    else if (ipk && !irms && !power)
        std::snprintf(text, size, "IPK\nLimiter Operations");
    else
        std::snprintf(text, size, "%s %s %s\nLimiter Operations", irms ? "IRMS," : "",
                      power ? (ipk ? "Power," : "Power") : "", ipk ? "IPK" : "");
    return true;
}

bool OutputNotices() {
    // A lasting alarm outranks these notices: its text is posted only when the listed alarms change, so
    // a notice posted over it would hide it for as long as it lasts.
    if (AlarmPopupShown()) return false;
    const uint32_t out = g_AlarmState.outputStatus.load(kRelaxed);
    bool shown = false;
    char text[kText];
    if (LimiterText(out, text, sizeof text)) {
        ShowErrorMessage(text);
        shown = true;
    }
    if (out & (Bit(18) | Bit(19) | Bit(20))) {
        std::snprintf(text, sizeof text, "Remote Sensing %s %s %s\nVoltage Out of Range",
                      out & Bit(18) ? "L1," : "", out & Bit(19) ? "L2," : "", out & Bit(20) ? "L3," : "");
        ShowErrorMessage(text);
        shown = true;
    }
    if (SysStatusTest(kSysCalPageRead)) {
        ShowErrorMessage("Calibration Data Error");
        shown = true;
    }
    if (shown) Hold(2);
    return shown;
}

// The sync error is held until closed, and a held popup keeps every later message off the screen: it goes
// once the signal is read, or once the output leaves the synchronised modes (both clear the missing flag).
void SyncErrorNotice() {
    if (SysStatusTest(kSysSyncSourceMissing)) {
        SysStatusClear(kSysSyncSourceMissing);
        ShowErrorMessageHold(2, kSyncErrorText);
        return;
    }
    if ((g_ParamFlags.load(kRelaxed) & kFlagSyncMissing) != 0 || MsgPopup_IsPersistent() == 0) return;
    char shown[64];
    MsgPopup_Text(shown, sizeof shown);
    if (std::strcmp(shown, kSyncErrorText) == 0) MsgPopup_Close();
}

}  // namespace

void AlarmNotices(uint32_t summary) {
    if (g_AlarmMsgHold.load(kRelaxed) == 0) SystemErrors(summary);
    SyncErrorNotice();
    if (g_AlarmMsgHold.load(kRelaxed) != 0) return;
    if (OutputNotices()) {
        SysStatusSet(kSysLimiterMessage);
        if (!SysStatusTest(kSysLimiterAcknowledged)) CallHook(Services().beepRequest);
    } else {
        SysStatusClear(kSysLimiterMessage);
        LimiterMsgAckClear();
    }
}

}  // namespace core
