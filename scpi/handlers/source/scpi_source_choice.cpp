// The [SOURce:] settings of a few named states (limit modes, THD format, phase view and behaviour, start
// and stop phase states, response speed): one row per command with its guards, its getter and setter,
// its largest value and its reply names.
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

// Guards of a row, checked in this order before the query and the set.
enum Guard : uint8_t {
    kViewUnused = 1u << 0,      // the PHASE/LINE view has no meaning: "-200"
    kViewWiringMode = 1u << 1,  // 1P2W or an output mode without a balanced view: "-310"
    k3P4WMaster = 1u << 2,      // only in 3P4W and not on a slave: "-310"
    kSlave = 1u << 3,           // refused on a parallel slave: "-310"
    // Set only, before the value is read: the output on while parallel operation is active, "-310".
    kSetOutputOnParallel = 1u << 4,
};
constexpr uint8_t kBalancedView = kViewUnused | kViewWiringMode;

constexpr uint32_t kRespFast = 2;

int Selected() {
    return static_cast<int>(core::SelectedPhase());
}

// The start and stop phase states of the selected phase.
int32_t GetStartState() {
    return GetOnPhaseState(Selected());
}
int32_t SetStartState(int32_t v) {
    return SetOnPhaseState(v, Selected());
}
int32_t GetStopState() {
    return GetOffPhaseState(Selected());
}
int32_t SetStopState(int32_t v) {
    return SetOffPhaseState(v, Selected());
}

int32_t GetHarmFormat() {
    return paramGetValue(kParamHarmMode, 0);
}
int32_t SetHarmFormat(int32_t v) {
    paramPutValue(kParamHarmMode, v, 0);
    return v;
}
int32_t SetPhaseLineView(int32_t v) {
    paramPutValue(kParamMeasItem7, v, 0);
    return v;
}

// The response speed: changed only with the output off, and FAST not while the response is locked.
uint32_t ResponseRefusal(int32_t v) {
    if (OutputFlagTest(kOutFlagOutputOn)) return kScpiErrSystem;
    if (v == static_cast<int32_t>(kRespFast) && IsVoltResponseLocked()) return kScpiErrDataOutOfRange;
    return 0;
}

struct ChoiceRow {
    uint32_t cmd;
    uint8_t guards;
    int32_t max;
    int32_t (*get)();
    int32_t (*set)(int32_t);
    const char* names[2]{};  // reply texts of 0 and 1; none: the value as "%+d"
    // Set checks of a value within 0..max: an error row or 0.
    uint32_t (*refuse)(int32_t) = nullptr;
    // The control task's next pass answers the change by rewriting other settings.
    bool rewrites = false;
};

constexpr ChoiceRow kRows[] = {
    {kCmdSourCurrLimPeakMode, kSlave | kSetOutputOnParallel, 1, GetIpkLimitMode, SetIpkLimitMode},
    {kCmdSourCurrLimRmsMode, 0, 1, GetIrmsLimitMode, SetIrmsLimitMode},
    {kCmdSourFuncThdForm, kSlave, 1, GetHarmFormat, SetHarmFormat, {"IEC", "CSA"}},
    {kCmdSourPhasBal, kBalancedView, 1, GetPhaseLineView, SetPhaseLineView, {"PHASE", "LINE"}},
    {kCmdSourPhasMode,
     k3P4WMaster,
     1,
     GetPhaseBalanceMode,
     SetPhaseBalanceMode,
     {"Unbalance", "Balance"},
     nullptr,
     true},
    {kCmdSourPhasRel, k3P4WMaster, 1, GetRelock, SetRelock, {"OFF", "ON"}},
    {kCmdSourPhasSetcStat, kSlave, 1, GetPhaseSetChange, SetPhaseSetChange},
    {kCmdSourPhasStarStat, 0, 1, GetStartState, SetStartState, {"FREE", "FIXED"}},
    {kCmdSourPhasStopStat, 0, 1, GetStopState, SetStopState, {"FREE", "FIXED"}},
    {kCmdSourVoltResp, kSlave, 2, GetSlewRate, SetSlewRate, {}, ResponseRefusal},
};

bool ViewWithoutBalance() {
    const uint32_t mode = GetOutputMode();
    return IsPhaseMode1P2W() || mode == kModeDcInt || mode == kModeAcDcExt || mode == kModeAcExt ||
           mode == kModeAcVca;
}

uint32_t GuardRefusal(uint8_t guards) {
    if ((guards & kViewUnused) && ParamUnusedInMode(kParamMeasItem7)) return kScpiErrExecution;
    if ((guards & kViewWiringMode) && ViewWithoutBalance()) return kScpiErrSystem;
    if ((guards & k3P4WMaster) && GetPhaseMode() != kWiring3P4W) return kScpiErrSystem;
    if ((guards & (k3P4WMaster | kSlave)) && RemoteSettingBlocked()) return RemoteBlockedRow();
    return 0;
}

int Query(ScpiInterface* ifc, const ChoiceRow& row) {
    const int32_t v = row.get();
    if (row.names[0] != nullptr && (v == 0 || v == 1)) {
        WriteTextReply(ifc, row.names[v]);
        return 0;
    }
    WriteSignedReply(ifc, v);
    return 0;
}

int Set(ScpiInterface* ifc, const ChoiceRow& row) {
    if ((row.guards & kSetOutputOnParallel) && OutputFlagTest(kOutFlagOutputOn) &&
        g_ParallelActive.load(std::memory_order_acquire) != 0) {
        scpiSetError(ifc, kScpiErrSystem);
        return 0;
    }
    int32_t v;
    uint32_t error = ChoiceOrNumberUpTo(ifc, 0, row.max, &v);
    if (error == 0 && row.refuse != nullptr) error = row.refuse(v);
    if (error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    row.set(v);
    if (row.rewrites) ScpiHandoverCompleteAfterPass();
    return 0;
}

}  // namespace

int CmdSourChoiceRow(ScpiInterface* ifc, uint32_t cmd) {
    for (const ChoiceRow& row : kRows) {
        if (row.cmd != cmd) continue;
        if (const uint32_t error = GuardRefusal(row.guards); error != 0) {
            scpiSetError(ifc, error);
            return 0;
        }
        return scpiIsQuery(ifc) == 1 ? Query(ifc, row) : Set(ifc, row);
    }
    return CmdUndefined(ifc);
}

}  // namespace scpi
