#include "panel/status_conditions.h"

#include "core/control/alarms/alarm_state.h"
#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/config/model_table.h"
#include "core/system/state/stage_status.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/status/scpi_status.h"

std::atomic<uint32_t> g_ScpiErrorIfCount{0};

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

enum Group : uint8_t { kOper, kQues, kWarn, kLock };
// Conditions that are neither an alarm bit nor a status bit.
enum Extra : uint8_t {
    kNone,
    kBusy,
    kSyncMode,
    kSeqSimPaused,
    kSeqSimRunning,
    kStartFault,
    kPanelSyncHold,
    kRebootLatched,
    kPhaseFault,
    kSelfTestFailed
};

constexpr uint32_t A(uint32_t bit) {
    return 1u << bit;
}

// One condition bit: set when any of its alarm bits (summary or second alarm word, bits 0-23), any of its
// output-status bits or its extra condition holds.
struct CondRow {
    Group group;
    uint8_t bit;
    uint32_t alarms;
    uint32_t status;
    Extra extra;
};

constexpr uint32_t kIpkStatus = A(8) | A(9) | A(10), kSenseStatus = A(18) | A(19) | A(20);

constexpr CondRow kRows[] = {
    {kOper, 1, 0, 0, kBusy},
    {kOper, 8, 0, 0, kSyncMode},
    {kOper, 12, 0, 0, kSeqSimPaused},
    {kOper, 14, 0, 0, kSeqSimRunning},
    {kQues, 0, A(3) | A(18), 0, kNone},
    {kQues, 1, A(2), 0, kNone},
    {kQues, 2, 0, 0, kStartFault},
    {kQues, 3, A(10), 0, kNone},
    {kQues, 4, A(15), 0, kNone},
    {kQues, 5, A(5) | A(20), 0, kNone},
    {kQues, 6, A(0) | A(1), 0, kNone},
    {kQues, 7, A(7), 0, kNone},
    {kQues, 8, A(14), 0, kNone},
    {kQues, 9, A(4), 0, kNone},
    {kQues, 10, 0, kIpkStatus, kNone},
    {kQues, 11, 0, kSenseStatus, kNone},
    {kQues, 12, 0, A(5), kNone},
    {kWarn, 0, A(3) | A(18), 0, kNone},
    {kWarn, 1, A(2), 0, kNone},
    {kWarn, 3, A(0) | A(1), 0, kNone},
    {kWarn, 5, A(10), 0, kNone},
    {kWarn, 6, A(15), 0, kNone},
    {kWarn, 7, 0, 0, kPanelSyncHold},
    {kWarn, 9, A(13), 0, kNone},
    {kWarn, 10, A(2), 0, kNone},
    {kWarn, 11, A(0) | A(1), 0, kNone},
    {kWarn, 12, 0, A(6), kNone},
    {kWarn, 13, 0, A(5), kNone},
    {kWarn, 14, 0, kIpkStatus, kNone},
    {kLock, 0, A(9), 0, kRebootLatched},
    {kLock, 3, 0, 0, kPhaseFault},
    {kLock, 4, 0, 0, kStartFault},
    {kLock, 5, 0, 0, kSelfTestFailed},
    {kLock, 7, A(7), 0, kNone},
    {kLock, 8, A(12), 0, kNone},
    {kLock, 9, A(8), 0, kNone},
};

bool ExtraHolds(Extra extra) {
    switch (extra) {
        case kNone:
            return false;
        case kBusy:
            return IsSystemBusy() != 0;
        case kSyncMode: {
            const uint32_t mode = GetOutputMode();
            return IsSyncMode(mode) && (g_ParamFlags.load(kRelaxed) & core::kFlagSyncMissing) == 0;
        }
        case kSeqSimPaused:
            return SeqSimIsPaused() != 0;
        case kSeqSimRunning:
            return SeqSimIsRunning() != 0;
        case kStartFault:
            return g_ModuleErrMask.load(kRelaxed) != 0 || g_FwErrMask.load(kRelaxed) != 0 ||
                   g_PowerStageBootStatus.load(kRelaxed) == 0 || g_PhaseFault.load(kRelaxed) != 0;
        case kPanelSyncHold:
            return (g_ParamFlags.load(kRelaxed) & core::kFlagSyncMissing) != 0;
        case kRebootLatched:
            return SysStatusTest(kSysRebootRequest) && SysStatusTest(kSysAlarmLatched);
        case kPhaseFault:
            return g_PhaseFault.load(kRelaxed) != 0;
        case kSelfTestFailed:
            return g_StartupFailed.load(std::memory_order_acquire) != 0;
    }
    return false;
}

ScpiStatusBlock* const kBlocks[] = {&scpi::g_StatusLan, &scpi::g_StatusUsb, &scpi::g_StatusGpib,
                                    &scpi::g_StatusUart, &scpi::g_StatusWeb};
}  // namespace

panel::StatusConditions panel::BuildStatusConditions() {
    constexpr uint32_t kAlarmBitsMask = 0xFFFFFFu;
    const uint32_t alarms =
        (g_AlarmState.summary.load(kRelaxed) | g_AlarmState.system.load(kRelaxed)) & kAlarmBitsMask;
    const uint32_t status = g_AlarmState.outputStatus.load(kRelaxed);
    uint16_t words[4] = {};
    for (const CondRow& row : kRows) {
        if ((alarms & row.alarms) != 0 || (status & row.status) != 0 || ExtraHolds(row.extra))
            words[row.group] = static_cast<uint16_t>(words[row.group] | (1u << row.bit));
    }
    return {words[kOper], words[kQues], words[kWarn], words[kLock]};
}

void UpdateStatusConditions() {
    const panel::StatusConditions c = panel::BuildStatusConditions();
    uint32_t errors = 0;
    for (ScpiStatusBlock* block : kBlocks) {
        scpiOperRegSet(block, kRegCond, c.oper);
        scpiQuesRegSet(block, kRegCond, c.ques);
        scpiWarnRegSet(block, kRegCond, c.warn);
        scpiLockRegSet(block, kRegCond, c.lock);
        const int stb = scpiGetStatusByte(block);
        if (stb > 0 && (stb & 4) != 0) ++errors;
    }
    g_ScpiErrorIfCount.store(errors, kRelaxed);
}
