// The monitor pass of the alarm object: reads the stage's alarm and status words, latches protection
// faults, lists the alarms (or reports them to the master), sounds the alarm beep and runs the backup
// request. Popups are posted when what is listed changes: every free text empties the message ring, so a
// post on every 2 ms pass would wipe out any other message for as long as the alarm lasts.
#include "core/control/alarms/alarm_monitor.h"

#include <cstdio>

#include "core/control/alarms/alarm_state.h"
#include "core/control/alarms/alarm_texts.h"
#include "core/control/hooks/core_services.h"
#include "core/control/output_request.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/regbus/reg_read.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/sandbox/sandbox.h"

namespace core {
namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kStageRestartBit = Bit(4);  // of the output status
constexpr uint32_t kSlaveCopiesBit = Bit(21);  // of the system word
constexpr uint32_t kLinkShownUpdate = 100;
constexpr size_t kText = 160;

bool DetailMode() {
    return g_ServiceFlags.detailAlarm.load(kRelaxed) != 0;
}

void ClearCountdownStep() {
    uint32_t cd = g_AlarmClearCountdown.load(kRelaxed);
    if ((cd & 0x8000u) == 0) return;
    const uint32_t left = (cd & 0x7FFFu) > 0 ? (cd & 0x7FFFu) - 1 : 0;
    // A clear request stored meanwhile restarts the count: it is not overwritten.
    if (!g_AlarmClearCountdown.compare_exchange_strong(cd, left == 0 ? 0 : 0x8000u | left, kRelaxed)) return;
    if (left != 0) return;
    g_AlarmState.summary.store(0, kRelaxed);
    for (auto& word : g_AlarmState.phase)
        word.store(0, kRelaxed);
    MsgQueue_Clear();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    // The popups are gone with the ring: an alarm that outlasts the clear is shown again.
    g_AlarmMonitor.shownPhase.store(0, kRelaxed);
    g_AlarmMonitor.shownSystem.store(0, kRelaxed);
}

// A master with slave copies ORs them into its own words; the last slave whose word adds to the own one
// becomes the reporting slave.
void MergeSlaveCopies(uint32_t phase[3], uint32_t* system) {
    for (uint32_t n = 1; n <= 5; ++n) {
        const AlarmSlaveCopy& slave = g_AlarmState.slave[n];
        for (int p = 0; p < 3; ++p) {
            const uint32_t word = slave.phase[p].load(kRelaxed);
            if (word > phase[p]) g_AlarmMonitor.reportingSlave.store(n, kRelaxed);
            phase[p] |= word;
        }
        const uint32_t word = slave.system.load(kRelaxed);
        if (word > *system) g_AlarmMonitor.reportingSlave.store(n, kRelaxed);
        *system |= word;
    }
    *system &= ~kSlaveCopiesBit;
}

void PostLink(uint32_t shown, const char* format, int number) {
    if (g_AlarmMonitor.shownLink.exchange(shown, kRelaxed) == shown) return;
    ShowErrorMessageHold(2, format, number);
}

void LinkStatusStep(uint32_t summary, uint32_t system) {
    if (g_ParallelActive.load(std::memory_order_acquire) != 1) {
        g_AlarmMonitor.shownLink.store(0, kRelaxed);
        if ((system & ~(kSlaveCopiesBit - 1)) != 0 && summary == 0) SysStatusClear(kSysAlarmLatched);
        return;
    }
    const uint32_t status = BusReg_GetParallelStatus();
    g_ParallelLink.status.store(status, kRelaxed);
    if (g_ParallelLink.updateKind.load(kRelaxed) != 0) {
        if (g_AlarmMonitor.shownLink.exchange(kLinkShownUpdate, kRelaxed) != kLinkShownUpdate)
            ShowMessageHold("Slave is currently updating.\n Please wait...");
        return;
    }
    if (status & Bit(24)) {
        if (OutputFlagTest(kOutFlagOutputOn)) OutputToggle();
        SysStatusSet(kSysParallelLinkFault);
    } else {
        SysStatusClear(kSysParallelLinkFault);
    }
    int number = -1;
    for (int bit = 25; bit <= 29 && number < 0; ++bit)
        if (status & Bit(bit)) number = bit - 24;
    if (number < 0 && (status & Bit(24))) number = 0;
    if (number < 0) {
        g_AlarmMonitor.shownLink.store(0, kRelaxed);
        return;
    }
    g_ParallelLink.errorNumber.store(static_cast<uint8_t>(number), kRelaxed);
    PostLink(1 + number, "Parallel Communication \nError(%d)", number);
}

void NoAlarms() {
    g_AlarmMonitor.shownPhase.store(0, kRelaxed);
    g_AlarmMonitor.shownSystem.store(0, kRelaxed);
    if (g_AlarmMonitor.sentAlarm.exchange(0, kRelaxed) != 0) {
        const uint32_t own = LinkOwnAddress();
        ParallelSendCmd(own, 10, 0);
        ParallelSendCmd(own, 9, 0);
    }
    g_AlarmState.flags.fetch_and(static_cast<uint8_t>(~kAlarmFlagBeepAcked), kRelaxed);
    AlarmBeepStop();
}

// A slave reports its words to the master once: low half first, then the high half.
void SendToMaster(const uint32_t phase[3], uint32_t system) {
    if (g_AlarmMonitor.sentAlarm.exchange(1, kRelaxed) != 0) return;
    const uint32_t own = LinkOwnAddress();
    for (uint32_t p = 0; p < 3; ++p) {
        if (phase[p] == 0) continue;
        ParallelSendCmd(own, 4 + 2 * p, phase[p] & 0xFFFFu);
        ParallelSendCmd(own, 3 + 2 * p, phase[p] >> 16);
    }
    if (!DetailMode() && system != 0) {
        ParallelSendCmd(own, 10, system & 0xFFFFu);
        ParallelSendCmd(own, 9, system >> 16);
        g_AlarmMonitor.sentSystem.store(1, kRelaxed);
    }
}

// The phase whose alarm word is the largest (0-2).
int LargestPhase(const uint32_t phase[3]) {
    int best = 0;
    for (int p = 1; p < 3; ++p)
        if (phase[p] > phase[best]) best = p;
    return best;
}

void ShowPhaseText(const char* text, const uint32_t phase[3], uint32_t summary) {
    char body[kText];
    static const char* const kPhasePrefix[3] = {"L1\n %s ", "L2\n%s ", "L3\n%s "};
    if (DetailMode() && summary != 0)
        std::snprintf(body, sizeof body, kPhasePrefix[LargestPhase(phase)], text);
    else
        std::snprintf(body, sizeof body, " %s", text);
    char shown[2 * kText];
    const uint32_t slave = g_AlarmMonitor.reportingSlave.load(kRelaxed);
    if (DetailMode() && ParallelActiveMaster()) {
        if (slave == 0)
            std::snprintf(shown, sizeof shown, "Master %s ", body);
        else
            std::snprintf(shown, sizeof shown, "Slave%u %s ", slave, body);
    } else {
        std::snprintf(shown, sizeof shown, "%s", body);
    }
    ShowErrorMessageHold(2, shown);
}

void ShowSystemText(const char* text) {
    char body[kText];
    std::snprintf(body, sizeof body, " %s", text);
    char shown[2 * kText];
    AlarmWrapSystem(shown, sizeof shown, body);
    ShowErrorMessageHold(2, shown);
}

void ListAlarms(uint32_t phaseList, uint32_t systemList, const uint32_t phase[3], uint32_t summary) {
    const bool detail = DetailMode();
    for (uint32_t bit = 0; bit < kAlarmBits; ++bit) {
        if (phaseList & Bit(bit)) {
            const AlarmText& t = kPhaseAlarmTexts[bit];
            ShowPhaseText(detail ? t.service : t.user, phase, summary);
        } else if (systemList & Bit(bit)) {
            const AlarmText& t = kSystemAlarmTexts[bit];
            ShowSystemText(detail ? t.service : t.user);
        }
    }
}

void AlarmsPresent(const uint32_t phase[3], uint32_t summary, uint32_t system) {
    const uint32_t latched = (summary & (kAlarmProtectBits | Bit(16))) | (system & kAlarmProtectBits);
    if (latched != 0 && !AlarmLatchOverride()) SysStatusSet(kSysAlarmLatched);
    uint32_t phaseList = summary, systemList = system;
    if (SysStatusTest(kSysAlarmLatched)) {
        phaseList = summary != 0 ? latched : 0;
        systemList = summary != 0 ? 0 : latched;
    }
    if (ParallelActiveSlave()) {
        SendToMaster(phase, system);
    } else {
        const bool phaseChanged = g_AlarmMonitor.shownPhase.exchange(phaseList, kRelaxed) != phaseList;
        const bool systemChanged = g_AlarmMonitor.shownSystem.exchange(systemList, kRelaxed) != systemList;
        if (phaseChanged || systemChanged) ListAlarms(phaseList, systemList, phase, summary);
    }
    const uint8_t flags = g_AlarmState.flags.load(kRelaxed);
    if ((flags & (kAlarmFlagBeepAcked | kAlarmFlagBeepSounding)) == 0) {
        g_AlarmState.flags.fetch_or(kAlarmFlagBeepSounding, kRelaxed);
        CallHook(Services().beepOn);
    } else if (flags & kAlarmFlagBeepAcked) {
        AlarmBeepStop();
    }
}

}  // namespace

AlarmMonitorWords g_AlarmMonitor;

bool AlarmLatchOverride() {
    return g_ServiceFlags.clearHwAlarm.load(kRelaxed) != 0;
}

bool AlarmPopupShown() {
    return (g_AlarmMonitor.shownPhase.load(kRelaxed) | g_AlarmMonitor.shownSystem.load(kRelaxed)) != 0;
}

void AlarmWrapSystem(char* out, unsigned size, const char* text) {
    const uint32_t slave = g_AlarmMonitor.reportingSlave.load(kRelaxed);
    if (!(DetailMode() && ParallelActiveMaster()))
        std::snprintf(out, size, "%s", text);
    else if (slave == 0)
        std::snprintf(out, size, "Master\n %s ", text);
    else
        std::snprintf(out, size, "Slave%u\n %s ", slave, text);
}

void MonitorPass() {
    ClearCountdownStep();
    const BusAlarmWords words = BusReg_GetAlarmWords();
    const uint32_t out = words.outputStatus;
    g_AlarmState.outputStatus.store(out, kRelaxed);
    if (out & kStageRestartBit) {
        plat::System("echo 0 > /sys/class/leds/gpib_rst/brightness");
        SysStatusSet(kSysRestartPending);
        g_AlarmMsgHold.store(1, kRelaxed);
    }
    uint32_t system = words.system;
    uint32_t phase[3] = {words.phase[0], words.phase[1], words.phase[2]};
    if (ParallelActiveMaster() && (system & kSlaveCopiesBit)) MergeSlaveCopies(phase, &system);
    for (int p = 0; p < 3; ++p)
        g_AlarmState.phase[p].store(phase[p], kRelaxed);
    g_AlarmState.system.store(system, kRelaxed);
    const uint32_t summary = phase[0] | phase[1] | phase[2];
    g_AlarmState.summary.store(summary, kRelaxed);

    LinkStatusStep(summary, system);
    if ((summary == 0 && system == 0) || g_AlarmMonitor.noModel.load(kRelaxed) != 0)
        NoAlarms();
    else
        AlarmsPresent(phase, summary, system);
    if (g_AlarmState.backupRequest.exchange(0, std::memory_order_acquire) != 0) CallHook(Services().backupSave);
    AlarmNotices(summary);
}

}  // namespace core
