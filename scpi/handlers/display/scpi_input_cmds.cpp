// INPut, INSTrument and ETHernet:DHCP: the external-input settings, the phases a remote setting addresses,
// and the LAN's DHCP switch.
#include <mutex>

#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_numeric_param.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/net/net_monitor.h"

namespace scpi {
namespace {

constexpr uint32_t kSelectedLineMask = 3u << kOutFlagSelLine0;

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

// Reply text of a value from a fixed list, or the number when it lies outside.
template <size_t N>
int NameReply(ScpiInterface* ifc, const char* const (&names)[N], int32_t v) {
    if (v < 0 || static_cast<size_t>(v) >= N) return WriteSignedReply(ifc, v), 0;
    return WriteTextReply(ifc, names[v]), 0;
}

constexpr const char* kSourceNames[] = {"L1Ext", "L2Ext", "L3Ext"};
constexpr const char* kSyncNames[] = {"L1LINE", "L2LINE", "L3LINE", "EXT"};
constexpr const char* kLineNames[] = {"L1", "L2", "L3"};

int Selected() {
    const uint32_t line = core::SelectedPhase();
    return static_cast<int>(line > 2 ? 2 : line);
}

// The line that the phase-specific commands address: the output flags' field and the setting the query
// reads. Other threads change other bits of the flags meanwhile, so the field changes in one step.
void SelectLine(int32_t line) {
    paramPutValue(kParamMeasItem1 + 5, line, 0);
    uint32_t old = g_OutputFlags.load(std::memory_order_relaxed);
    const uint32_t field = static_cast<uint32_t>(line) << kOutFlagSelLine0;
    while (!g_OutputFlags.compare_exchange_weak(old, (old & ~kSelectedLineMask) | field,
                                                std::memory_order_release, std::memory_order_relaxed)) {
    }
}

}  // namespace

int CmdInpGain(ScpiInterface* ifc) {
    return scpiNumericParam(ifc, kParamGain);
}

int CmdInpSour(ScpiInterface* ifc) {
    if (ParamUnusedInMode(kParamMainSrc)) return Fail(ifc, kScpiErrExecution);
    if (scpiIsQuery(ifc) == 1) return NameReply(ifc, kSourceNames, GetMainSrc(Selected()));
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 2, &v); row != 0) return Fail(ifc, row);
    // The setter forces the control task to apply the source again, which in edit-all mode it does for
    // every phase even when the selected phase's word already matches.
    SetMainSrc(v, Selected());
    return 0;
}

int CmdInpSyncSour(ScpiInterface* ifc) {
    if (ParamUnusedInMode(kParamMainSig)) return Fail(ifc, kScpiErrExecution);
    if (scpiIsQuery(ifc) == 1) return NameReply(ifc, kSyncNames, GetMainSig());
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 3, &v); row != 0) return Fail(ifc, row);
    for (int phase = 0; phase < 3; ++phase)
        SetMainSig(v, phase);
    return 0;
}

int CmdInstEdit(ScpiInterface* ifc) {
    if (GetPhaseMode() != kWiring3P4W) return Fail(ifc, kScpiErrSystem);
    if (scpiIsQuery(ifc) == 1)
        return WriteTextReply(ifc, g_EditAllPhases.load(std::memory_order_acquire) != 0 ? "All" : "Each"), 0;
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &v); row != 0) return Fail(ifc, row);
    g_EditAllPhases.store(IsBalanceActive() ? 1 : static_cast<uint8_t>(v), std::memory_order_release);
    return 0;
}

int CmdInstSel(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return NameReply(ifc, kLineNames, GetSelectedLine());
    int32_t v;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 2, &v); row != 0) return Fail(ifc, row);
    const uint32_t wiring = GetPhaseMode();
    const int32_t last = wiring == kWiring1P2W ? 0 : wiring == kWiring1P3W ? 1 : 2;
    if (v > last && g_ServiceFlags.threePhase1P2W.load(std::memory_order_acquire) == 0)
        return Fail(ifc, kScpiErrExecution);
    SelectLine(v);
    return 0;
}

int CmdEthDhcp(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteTextReply(ifc, LanCfgRead().DHCP != 0 ? "ON" : "OFF"), 0;
    int32_t v;
    if (scpiGetChoice(ifc, 0, &v) != 0) return Fail(ifc, kScpiErrSystem);
    NetconfRead();
    {
        std::lock_guard<std::mutex> hold(g_LanCfgLock);
        g_LanCfg.DHCP = v != 0 ? 1 : 0;
    }
    if (v == 0) ResolvConfWrite();
    NetConfigStart();
    SetHoldCountdown(20);
    return 0;
}

}  // namespace scpi
