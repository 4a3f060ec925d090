// SYSTem:CONFigure: external control, the phase configuration, the SEQ/SIM function mode and the trigger
// output.
#include <atomic>

#include "core/control/hooks/screen_request.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/params/phase_cfg.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "platform/host/clock.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/settings_backup.h"

namespace scpi {
namespace {

constexpr const char* kPhaseNames[] = {"3P4W", "1P2W", "1P3W"};
constexpr uint32_t kAdvancedScreenWaitMs = 500;
// The trigger output has no meaning in DC-INT and the external modes.
constexpr uint32_t kNoTrigOutModes = (1u << 2) | (1u << 3) | (1u << 4);

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

bool OutputOn() {
    return OutputFlagTest(kOutFlagOutputOn);
}

// The channels stop parsing for the whole change; whatever way the change ends, they start again.
struct PauseRemote {
    PauseRemote() { g_PhaseCfgChanging.store(1, std::memory_order_release); }
    ~PauseRemote() { g_PhaseCfgChanging.store(0, std::memory_order_release); }
    PauseRemote(const PauseRemote&) = delete;
    PauseRemote& operator=(const PauseRemote&) = delete;
};

// Each wiring keeps its own settings blocks: the present wiring's are saved before the switch and the
// new wiring's come back after it.
void ChangePhaseConfig(uint32_t to) {
    PauseRemote pause;
    ShowMessage(2, "Configure Phase Toggle,\nPlease wait...");
    BackupSavePhaseSettings(GetPhaseMode());
    SetPhaseMode(to);
    SpecialDataSave(static_cast<uint8_t>(to));
    BackupSaveSystem();
    BackupLoadPhaseSettings(0);
    SetVoltRange(GetVoltRangeCode());
    MsgQueue_Clear();
    MsgPopup_Close();
    ShowMessage(2, "Configure Phase is Ready");
}

int SetPhase(ScpiInterface* ifc) {
    if (SeqSimGetMode() != kSeqSimOff) return Refuse(ifc, kScpiErrSystem);
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    if (state >= kMenuSystemInfo && state <= kMenuParallelEnableEdit) {
        ScreenRequest_Ask(ScreenRequest::kAdvanceScreen);
        plat::SleepMs(kAdvancedScreenWaitMs);
    }
    int32_t to;
    if (scpiGetInt(ifc, 0, &to) != 0) return Refuse(ifc, kScpiErrParameter);
    // The change saves and reloads the settings of the screen's wiring: only from the output screen.
    if (g_PageId.load() != kScreenAdvanced) return Refuse(ifc, kScpiErrSettingsConflict);
    if (static_cast<uint32_t>(to) == GetPhaseMode()) return 0;
    if (to < static_cast<int32_t>(kWiring3P4W) || to > static_cast<int32_t>(kWiring1P3W))
        return Refuse(ifc, kScpiErrDataOutOfRange);
    ChangePhaseConfig(static_cast<uint32_t>(to));
    // The control task rewrites every output setting for the new wiring.
    ScpiHandoverCompleteAfterPass();
    return 0;
}

// SEQuence and SIMulation: the engine's own entry refuses with a panel message; here the conditions are
// checked first so that the client gets the error.
bool SeqSimEntryAllowed(bool sim) {
    const uint32_t mode = GetOutputMode();
    const int32_t range = GetVoltRange();
    const bool modeOk = sim ? mode == kModeAcDcInt : IsIntMode(mode);
    return !OutputOn() && modeOk && (range == kUserRange100V || range == kUserRange200V);
}

int SetFunctionMode(ScpiInterface* ifc) {
    int32_t mode;
    if (const uint32_t row = ChoiceOrNumber(ifc, 0, &mode); row != 0) return Refuse(ifc, row);
    const uint32_t current = SeqSimGetMode();
    switch (mode) {
        case kSeqSimSeq:
        case kSeqSimSim:
            if (mode == kSeqSimSeq) ScreenRequest_Ask(ScreenRequest::kSeqLeavePreview);
            // The mode word alone, without the function's active bit, is no function to be in.
            if (current == static_cast<uint32_t>(mode) && SeqSimIsActive()) return 0;
            if (!SeqSimEntryAllowed(mode == kSeqSimSim)) return Refuse(ifc, kScpiErrSystem);
            if (mode == kSeqSimSim) ScreenRequest_Ask(ScreenRequest::kSeqLeavePreview);
            if (SeqSimEnterMode(static_cast<uint32_t>(mode)) != 0) return Refuse(ifc, kScpiErrSystem);
            return 0;
        case kSeqSimOff:
            if (current == kSeqSimOff && !SeqSimIsActive()) return 0;
            if (OutputOn()) return Refuse(ifc, kScpiErrSystem);
            SysStatusSet(kSysSeqSimExitRequest);
            ScreenRequest_Ask(ScreenRequest::kSeqLeavePreview);
            ScreenRequest_Ask(ScreenRequest::kSeqSimExit);
            SysStatusClear(kSysSeqSimExitRequest);
            return 0;
        default:
            return Refuse(ifc, kScpiErrSystem);
    }
}

// The error row that refuses the trigger-output settings, 0 when they may be used.
uint32_t TrigOutRefusal() {
    if (SeqSimIsActive() || ((kNoTrigOutModes >> GetOutputMode()) & 1u) != 0) return kScpiErrSystem;
    return RemoteSettingBlocked() ? RemoteBlockedRow() : 0;
}

int SetTrigOutSource(ScpiInterface* ifc) {
    int32_t line;
    if (const uint32_t row = ChoiceOrNumber(ifc, 0, &line); row != 0) return Refuse(ifc, row);
    const uint32_t wiring = GetPhaseMode();
    if ((wiring == kWiring1P2W && line != 0) || (wiring == kWiring1P3W && line == 2))
        return Refuse(ifc, kScpiErrExecution);
    if (line < 0 || line > 2) return Refuse(ifc, kScpiErrDataOutOfRange);
    SetTriggerSource(line);
    return 0;
}

}  // namespace

int CmdSystConfExt(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Refuse(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, GetExtControl()), 0;
    int32_t on;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &on); row != 0) return Refuse(ifc, row);
    SetExtControl(on);
    return 0;
}

int CmdSystConfPhas(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return SetPhase(ifc);
    const uint32_t wiring = GetPhaseMode();
    if (wiring > kWiring1P3W) return WriteSignedReply(ifc, static_cast<int32_t>(wiring)), 0;
    WriteTextReply(ifc, kPhaseNames[wiring]);
    return 0;
}

int CmdSystConfMode(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Refuse(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) != 1) return SetFunctionMode(ifc);
    const char* name = "CONT";
    if (SeqSimIsActive()) name = SeqSimGetEngineKind() == kEngineSeq ? "SEQ" : "SIM";
    WriteTextReply(ifc, name);
    return 0;
}

int CmdSystConfTrigOutpSour(ScpiInterface* ifc) {
    if (const uint32_t row = TrigOutRefusal(); row != 0) return Refuse(ifc, row);
    if (scpiIsQuery(ifc) != 1) return SetTrigOutSource(ifc);
    constexpr const char* kLines[] = {"L1", "L2", "L3"};
    const int32_t line = GetTriggerSource();
    if (line < 0 || line > 2) return WriteSignedReply(ifc, line), 0;
    WriteTextReply(ifc, kLines[line]);
    return 0;
}

int CmdSystConfTrigOutpWidt(ScpiInterface* ifc) {
    if (const uint32_t row = TrigOutRefusal(); row != 0) return Refuse(ifc, row);
    return scpiNumericParam(ifc, kParamTrigWidth);
}

}  // namespace scpi
