#include "panel/runtime_init.h"

#include <mutex>

#include "core/control/alarms/alarm_state.h"
#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/remote_state.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "panel/keys/key_filters.h"
#include "panel/menu_entries.h"
#include "panel/panel_lamps.h"
#include "panel/panel_services.h"
#include "panel/settings_apply.h"
#include "scpi/channels/ports/uart_channel.h"
#include "sysadmin/net/net_dhcp.h"
#include "sysadmin/net/net_monitor.h"

std::atomic<uint32_t> g_HardcopyLongPressEnable{0};

namespace panel {
RuntimeTuning g_RuntimeTuning{};
}  // namespace panel

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
// The wiring the power stage reads back, in its output status word.
constexpr uint32_t kStatusWiringShift = 14;
constexpr uint32_t kStatusWiringMask = 3u << kStatusWiringShift;

// The power stage may have started in another wiring than the one restored: it is told the restored one.
void SyncStageWiring() {
    // While the bus is held the status read is refused and reads 0: that says nothing about the wiring.
    if (g_BusHold.load(kRelaxed) != 0) return;
    const uint32_t status = BusReg_GetOutputStatus();
    const uint32_t wiring = g_PhaseMode.load(kRelaxed);
    if (((status & kStatusWiringMask) >> kStatusWiringShift) == wiring) {
        core::g_OutputStatusMirror.store(status, kRelaxed);
        return;
    }
    core::g_OutputStatusMirror.store((status & ~kStatusWiringMask) | (wiring << kStatusWiringShift), kRelaxed);
    BusReg_SetPhaseMode(static_cast<int32_t>(wiring));
}

// The parallel role by model type: a single unit re-applies the position, enable and number given;
// a parallel system model is the master of its fixed number of units.
void ApplyModelRole(bool withRole, int32_t position, int32_t enable, int32_t number) {
    const uint32_t type = g_ModelId.load(kRelaxed);
    if (IsSingleUnit(type)) {
        SetParallelPosition(position);
        SetParallelEnable(enable);
        SetParallelNumber(number);
    } else if (IsParallelSystem(type)) {
        if (withRole) {
            SetParallelPosition(1);
            SetParallelEnable(1);
        }
        SetParallelNumber(static_cast<int32_t>(ModelRowOf(type).units));
    }
}

void CommDefaults() {
    SetParallelPosition(0);
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.DHCP = 1;
        g_LanCfg.LAN_EN = 1;
    }
    DhcpStart();
    IfaceUsbByteSet(2, static_cast<uint8_t>(IfaceUsbByte(2) & ~(1u << 4)));  // USB class TMC
    g_IfaceCfg.rs232Baud = 3;
    g_IfaceCfg.rs232DataBits = 1;
    g_IfaceCfg.rs232Parity = 0;
    g_IfaceCfg.rs232StopBits = 0;
    paramPutValue(kParamBuzzer, 0, 0);
    UartChannelRestart();
}
}  // namespace

void PanelCommStartup() {
    g_ParallelActive.store(0, kRelaxed);
    core::ParallelSlavesClear();
    // A single unit keeps the role it had stored, also when the start word resets the rest.
    const int32_t position = GetParallelPosition(), enable = GetParallelEnable(), number = GetParallelNumber();
    if (SpiAuxRead16() == 0) CommDefaults();
    ApplyModelRole(true, position, enable, number);
}

void ParallelConfigUnits() {
    ApplyModelRole(false, GetParallelPosition(), GetParallelEnable(), GetParallelNumber());
}

namespace {
void InitRuntimeWords() {
    PanelIndicatorsReset();
    KeyEventBoxClear();
    g_OutputFlags.store(0, std::memory_order_release);
    // The factory access lives on with the identity block, loaded before; every other flag starts clear.
    g_ParamFlags.fetch_and(core::kFlagFactoryAccess, std::memory_order_acq_rel);
    ApplyAllSettings();

    g_HomePage.eachAll.store(0, kRelaxed);
    g_HomePage.viewSel.store(0, kRelaxed);
    g_HomePage.panelRow.store(0, kRelaxed);
    NetStateInit();
    NetConfigStart();
    RemoteStateSet(kRemoteLocal);
    core::ServiceFlagsReset();
    g_OutputOptionWord.fetch_or(0x1Fu | (0xA6u << 8), kRelaxed);
    SetMonitorSource1Item(GetMonitorSource1Item());
    SetMonitorSource2Item(GetMonitorSource2Item());
    SetTriggerSource(GetTriggerSource());

    panel::RuntimeTuning& t = panel::g_RuntimeTuning;
    t.fanSlew = 100;
    t.fanDutyMax = 80;
    t.fanDutyMin = 20;
    BusReg_SetFanSlew(t.fanSlew);
    BusReg_SetFanDutyMax(t.fanDutyMax);
    BusReg_SetFanDutyMin(t.fanDutyMin);
    const uint32_t family = core::VaClassOfModel(g_ModelId.load(kRelaxed));
    if (family == kFamily4k5) {
        t.kp = 2500, t.ki = 30, t.powerLimitTotal = 4950, t.powerLimitPhase = 1650;
    } else if (family == kFamily6k) {
        t.kp = 2000, t.ki = 30, t.powerLimitTotal = 6600, t.powerLimitPhase = 2200;
    }
    for (auto& rd : t.rd)
        rd = 0;
    BusReg_SetAvgCurrCompKp(t.kp);
    BusReg_SetAvgCurrCompKi(t.ki);
    BusReg_SetRdDefine1(0);
    BusReg_SetRdDefine2(0);
    BusReg_SetRdDefine3(0);
    BusReg_SetRdDefine4(0);
    BusReg_SetRdDefine5(0);

    // The enable has a word of its own: storing 1 leaves its bit 1 clear.
    g_HardcopyLongPressEnable.store(1, kRelaxed);
    std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).store(1, std::memory_order_relaxed);  // the MENU page reads it
    g_ShiftedYWord.store(0, kRelaxed);
    IfaceUsbByteOr(0, 1u << 4);
    IfaceUsbByteOr(2, 3u << 1);
    SyncStageWiring();
    SysStatusClear(kSysKeysBlocked);
    // The alarm monitor saves every setting to the non-volatile memory on its next pass: the settings a
    // reset has just written on this thread are published with the request.
    g_AlarmState.backupRequest.store(1, std::memory_order_release);
}
}  // namespace

void InitRuntimeState() {
    InitRuntimeWords();
    menuGoAdvenceScreen();
}

void InitRuntimeStateForReset() {
    InitRuntimeWords();
    // A reset runs on the supervisor or the timer thread: the menu/control thread enters the screen.
    ScreenRequest_Ask(ScreenRequest::kAdvanceScreen);
}
