// OUTPut and PARallel: the output switch, its impedance switch, the monitor outputs, the power-on state,
// the protection clear, the output relay and the parallel role. Most are refused on a parallel slave,
// whose master owns them; PARallel:POSition stays open so that a slave can be made master again.
#include <cstdio>

#include "core/control/alarms/alarms.h"
#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_mode.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

// The hand-shake field with the control task, 1 requested: the command completes once the task has
// taken it. Other threads change other bits of the word meanwhile, so the field changes in one step.
void RequestReconfig() {
    constexpr uint32_t kMask = 3u << kSysReconfigLow, kRequested = 1u << kSysReconfigLow;
    uint32_t old = g_SysStatus.load(std::memory_order_relaxed);
    while (!g_SysStatus.compare_exchange_weak(old, (old & ~kMask) | kRequested, std::memory_order_release,
                                              std::memory_order_relaxed)) {
    }
}

// A stored-record setting whose value must lie within its record's limits.
uint32_t WithinRecord(const ScpiInterface* ifc, uint32_t id, int32_t* value) {
    if (const uint32_t row = ChoiceOrNumber(ifc, 0, value); row != 0) return row;
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    return *value < rec.min || *value > rec.max ? kScpiErrDataOutOfRange : 0;
}

// A two-state setting behind a getter and a setter, refused on a slave.
int OnOffSetting(ScpiInterface* ifc, int32_t (*get)(), int32_t (*set)(int32_t)) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, get()), 0;
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &v); row != 0) return Fail(ifc, row);
    set(v);
    return 0;
}

constexpr const char* kMonitorSourceNames[] = {"L1Voltage", "L2Voltage", "L3Voltage",
                                               "L1Current", "L2Current", "L3Current"};
// Sources of the lines a wiring lacks: 1P2W has no L2 and L3, 1P3W no L3.
constexpr uint32_t kMissingSources[] = {0, (1u << 1) | (1u << 2) | (1u << 4) | (1u << 5), (1u << 2) | (1u << 5)};

}  // namespace

int CmdOutpStat(ScpiInterface* ifc) {
    const bool on = OutputFlagTest(kOutFlagOutputOn);
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, on ? 1 : 0), 0;
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &v); row != 0) return Fail(ifc, row);
    if ((v == 1) == on) return 0;
    // A running SEQ/SIM program is stopped by its runner, which switches the output off itself.
    if (v == 0 && SeqSimIsRunning()) {
        SeqSimRequestStop();
    } else {
        // A request refused at once (no synchronisation signal, calibration, an alarm) or one the control
        // task could not carry out (a protection condition) has not switched the output: it is not
        // reported as done. A synchronised output without its signal is told apart: nothing else says why.
        const bool noSignal =
            v == 1 && (g_ParamFlags.load(std::memory_order_relaxed) & core::kFlagSyncMissing) != 0;
        if (OutputToggle() < 0) return Fail(ifc, noSignal ? kScpiErrNoSyncSignal : kScpiErrExecution);
        ScpiHandoverCheckAtCompletion(v == 1 ? +[] { return OutputFlagTest(kOutFlagOutputOn); }
                                             : +[] { return !OutputFlagTest(kOutFlagOutputOn); });
    }
    RequestReconfig();
    return 0;
}

int CmdOutpImp(ScpiInterface* ifc) {
    return OnOffSetting(ifc, GetOutputImpedance, SetOutputImpedance);
}

int CmdOutpRel(ScpiInterface* ifc) {
    return OnOffSetting(ifc, GetOutputRelay, SetOutputRelay);
}

int CmdOutpMonAmpl(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) {
        const int32_t v = paramGetValue(kParamMonitorAmp, 0);
        if (v != 0 && v != 1) return WriteSignedReply(ifc, v), 0;
        return WriteTextReply(ifc, v == 0 ? "LOW" : "HIGH"), 0;
    }
    int32_t v;
    if (const uint32_t row = WithinRecord(ifc, kParamMonitorAmp, &v); row != 0) return Fail(ifc, row);
    paramPutValue(kParamMonitorAmp, v, 0);
    ApplyMonitorScale();
    return 0;
}

int CmdOutpMonSour(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    const int suffix = scpiGetSuffix(ifc, 2);
    if (scpiIsQuery(ifc) == 1) {
        if (suffix != 1 && suffix != 2) return Fail(ifc, kScpiErrParameter);
        const int32_t v = suffix == 1 ? GetMonitorSource1Item() : GetMonitorSource2Item();
        if (v < 0 || v > 5) return WriteSignedReply(ifc, v), 0;
        return WriteTextReply(ifc, kMonitorSourceNames[v]), 0;
    }
    int32_t v;
    if (scpiGetChoice(ifc, 0, &v) != 0 || v < 0 || v > 5) return Fail(ifc, kScpiErrParameter);
    const uint32_t wiring = GetPhaseMode();
    if (wiring < kWirings && ((kMissingSources[wiring] >> v) & 1u)) return Fail(ifc, kScpiErrExecution);
    if (suffix == 1) {
        SetMonitorSource1Item(v);
        SetMonitorSource1(v);
    } else if (suffix == 2) {
        SetMonitorSource2Item(v);
        SetMonitorSource2(v);
    } else {
        return Fail(ifc, kScpiErrInvalidSuffix);
    }
    return 0;
}

int CmdOutpPon(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, paramGetValue(kParamPowerOnState, 0)), 0;
    int32_t v;
    if (const uint32_t row = WithinRecord(ifc, kParamPowerOnState, &v); row != 0) return Fail(ifc, row);
    paramPutValue(kParamPowerOnState, v, 0);
    return 0;
}

int CmdOutpProtCle(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    AlarmClear();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    return 0;
}

int CmdParPos(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteTextReply(ifc, GetParallelPosition() != 0 ? "Master" : "Slave"), 0;
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &v); row != 0) return Fail(ifc, row);
    SetParallelPosition(v);
    return 0;
}

int CmdParNumb(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(GetParallelNumber()));
        return WriteTextReply(ifc, text), 0;
    }
    int32_t v;
    if (scpiGetInt(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrParameter);
    if (v < 2 || v > 6) return Fail(ifc, kScpiErrDataOutOfRange);
    SetParallelNumber(v);
    return 0;
}

int CmdParEnab(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Fail(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteTextReply(ifc, GetParallelEnable() != 0 ? "ON" : "OFF"), 0;
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &v); row != 0) return Fail(ifc, row);
    SetParallelEnable(v);
    return 0;
}

}  // namespace scpi
