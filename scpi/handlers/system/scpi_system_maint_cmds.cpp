// SYSTem: the error queue's enable, key lock, service password, peak-hold time, reboot, command logs,
// system information, meter hold and alarm release.
#include <atomic>
#include <cstdio>
#include <cstring>

#include "core/control/alarms/alarms.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_mode.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/status/scpi_error_queue.h"
#include "storage/nv/config_text.h"
#include "sysadmin/sys_versions.h"

namespace scpi {
namespace {

constexpr int32_t kServiceTuningCode = 9371;
constexpr int32_t kCalibrationCode = 8719;
constexpr int32_t kServiceOverrideCode = 6392;
constexpr uint32_t kRebootSettleMs = 2;
constexpr const char* kAdvancedFirmware = "2024.0823-0";
constexpr int32_t kLogicVersionOffset = 0x41;
enum : int32_t { kLogRs232, kLogUsb, kLogGpib, kLogLan, kErrorEntry };

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

// One bit of the parameter store's flag word: "%+d" of it, or set/cleared by ON/OFF or 0/1. The bits
// beside it belong to other threads, so the change is one atomic step. The new state, -1 when refused.
int32_t FlagBit(ScpiInterface* ifc, uint32_t bit) {
    if (scpiIsQuery(ifc) == 1) {
        WriteSignedReply(ifc, (g_ParamFlags.load(std::memory_order_acquire) & bit) != 0 ? 1 : 0);
        return -1;
    }
    int32_t on;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &on); row != 0) {
        Refuse(ifc, row);
        return -1;
    }
    if (on != 0) {
        g_ParamFlags.fetch_or(bit, std::memory_order_acq_rel);
    } else {
        g_ParamFlags.fetch_and(~bit, std::memory_order_acq_rel);
    }
    return on;
}

void ClosePersistentPopup() {
    if (MsgPopup_IsPersistent() != 0) MsgPopup_Close();
}

ScpiInterface* LogOwner(int32_t which) {
    switch (which) {
        case kLogRs232:
            return &g_ScpiIfUart;
        case kLogUsb:
            return &g_ScpiIfUsb;
        case kLogGpib:
            return &g_ScpiIfGpib;
        case kLogLan:
            return &g_ScpiIfLan;
        default:
            return nullptr;
    }
}

int QueryScpiData(ScpiInterface* ifc) {
    int32_t which;
    if (scpiGetChoice(ifc, 0, &which) != 0) return Refuse(ifc, kScpiErrParameter);
    if (which == kErrorEntry) {
        char text[kScpiErrTextSize];
        const int32_t index = scpiErrorQueuePop(&ifc->errq, text);
        if (index <= 0 || static_cast<uint32_t>(index) >= kScpiErrCount) {
            WriteTextReply(ifc, g_ScpiErrTable[0]);
            return 0;
        }
        char reply[kScpiErrTextSize + 64];
        text[kScpiErrTextSize - 1] = '\0';
        std::snprintf(reply, sizeof reply, "%s,\"%s\"", g_ScpiErrTable[index], text);
        WriteTextReply(ifc, reply);
        return 0;
    }
    const ScpiInterface* owner = LogOwner(which);
    if (owner == nullptr) return Refuse(ifc, kScpiErrParameter);
    // Cut to what one reply may hold in the transmit queue.
    char dump[kTxRingSize - 16];
    LogDump(owner, dump, sizeof dump);
    WriteTextReply(ifc, dump);
    return 0;
}

void SetServiceAccess() {
    if (OutputFlagTest(kOutFlagOutputOn)) SetOutputOnOff(0);
    // SEQUENCE or SIMULATE is left wholly first, as CONTinuous leaves it: a run stopped, the mode word
    // cleared. The calibration's end re-initialises the panel, which clears the function's active bit
    // alone: the mode word left standing made SYST:CONF SEQ answer that it was in, and refused the wiring.
    if (SeqSimIsActive() || SeqSimGetMode() != kSeqSimOff) {
        ScreenRequest_Ask(ScreenRequest::kSeqLeavePreview);
        ScreenRequest_Ask(ScreenRequest::kSeqSimExit);
    }
    ScreenRequest_Ask(ScreenRequest::kGoCalibration);
    SysStatusSet(kSysCaliAccess);
}

}  // namespace

int CmdSystErrEnab(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    scpiErrorQueueClear(&ifc->errq);
    return 0;
}

int CmdSystKloc(ScpiInterface* ifc) {
    FlagBit(ifc, core::kFlagKeysLocked);
    return 0;
}

int CmdSystPass(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    int32_t code;
    if (scpiGetInt(ifc, 0, &code) != 0) return Refuse(ifc, kScpiErrParameter);
    if (code == kServiceTuningCode) {
        SysStatusSet(kSysUnlocked);
        return 0;
    }
    if (g_ModelId.load(std::memory_order_acquire) == 0) return Refuse(ifc, kScpiErrQueryInterrupted);
    char given[16];
    std::snprintf(given, sizeof given, "%04d", code);
    char password[sizeof g_ServicePassword + 1] = {};
    IdentityTextRead(g_ServicePassword, sizeof g_ServicePassword, password);
    if (std::strcmp(given, password) == 0 || code == kCalibrationCode) {
        SetServiceAccess();
        return 0;
    }
    if (code == kServiceOverrideCode) {
        g_ServiceFlags.threePhase1P2W.fetch_xor(1, std::memory_order_acq_rel);
        return 0;
    }
    return Refuse(ifc, kScpiErrParameter);
}

int CmdSystPkhTime(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Refuse(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, GetPeakHoldTime()), 0;
    int32_t ms;
    if (scpiGetInt(ifc, 0, &ms) != 0) return Refuse(ifc, kScpiErrSystem);
    if (SetPeakHoldTime(ms) != ms) return Refuse(ifc, kScpiErrDataOutOfRange);
    return 0;
}

int CmdSystReb(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    if (OutputFlagTest(kOutFlagOutputOn)) OutputToggle();
    SaveSystemConfig();
    plat::SleepMs(kRebootSettleMs);
    plat::System("sync");
    sysRebootRequest();
    return 0;
}

int CmdSystScpiData(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return QueryScpiData(ifc);
    int32_t choice;
    if (scpiGetChoice(ifc, 0, &choice) != 0 || choice != 0) return Refuse(ifc, kScpiErrParameter);
    for (int32_t which = kLogRs232; which <= kLogLan; ++which)
        LogClear(LogOwner(which));
    return 0;
}

int CmdSystInf(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    const VersionWords& v = g_VersionWords;
    const auto word = [](const std::atomic<uint32_t>& w) { return w.load(std::memory_order_relaxed); };
    char reply[kScpiIdnSize + 160];
    char idn[kScpiIdnSize + 1] = {};
    IdentityTextRead(g_IdnBuf, kScpiIdnSize, idn);
    std::snprintf(reply, sizeof reply, "%s,%s,0x%x,H%u 0x%x,%x,%4d%02d%02d %02d:%02d:%02d,%u", idn,
                  kAdvancedFirmware, word(v.logic[0]), word(v.hwRevision), word(v.psVersion),
                  word(v.plVersion) + kLogicVersionOffset, g_KernelBuildTime[0], g_KernelBuildTime[1],
                  g_KernelBuildTime[2], g_KernelBuildTime[3], g_KernelBuildTime[4], g_KernelBuildTime[5],
                  g_IfaceCardKind.load(std::memory_order_relaxed));
    WriteTextReply(ifc, reply);
    return 0;
}

int CmdSystHoldStat(ScpiInterface* ifc) {
    const int32_t on = FlagBit(ifc, core::kFlagMeterHold);
    if (on == 1) ShowMessage(2, "Meter Frozen");
    if (on == 0) ClosePersistentPopup();
    return 0;
}

int CmdSystWrel(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    AlarmClear();
    ClosePersistentPopup();
    return 0;
}

}  // namespace scpi
