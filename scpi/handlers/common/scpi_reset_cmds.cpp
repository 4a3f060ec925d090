// The common commands of reset, self-test, the bus trigger and calibration.
#include <cstdio>

#include "core/control/alarms/alarm_state.h"
#include "core/control/sys_event.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_refusals.h"

namespace scpi {
namespace {

// Sets a two-bit hand-shake field of the system status word in one atomic step: other threads change
// other bits of the word meanwhile.
void SetStatusField(SysStatusBit low, uint32_t value) {
    const uint32_t mask = 3u << low;
    uint32_t old = g_SysStatus.load(std::memory_order_relaxed);
    while (!g_SysStatus.compare_exchange_weak(old, (old & ~mask) | (value << low), std::memory_order_release,
                                              std::memory_order_relaxed)) {
    }
}

constexpr uint32_t kRequested = 1;

}  // namespace

int CmdCal(ScpiInterface* ifc) {
    // No calibration is started remotely; the query form answers nothing.
    if (scpiIsQuery(ifc) != 1) scpiRefuseHeader(ifc);
    return 0;
}

int CmdRst(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    // A reset leaves no *OPC of its channel waiting: its bit would otherwise come with the reset's end as
    // if the operations before the reset had completed.
    if (ifc->status != nullptr) scpiOpcDisarm(ifc->status);
    SeqSimSetMode(kSeqSimOff);
    // The hand-shake fields are set before the reset is queued: the supervisor may take the event at
    // once, and a reset that has begun before its request was marked never advances the field, which
    // would then hold every later set command as not ready.
    SetStatusField(kSysReconfigLow, kRequested);
    SetStatusField(kSysRemoteResetLow, kRequested);
    ResetDefaultStart();
    return 0;
}

int CmdTrg(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    scpiBusTrigger(ifc, 0);
    return 0;
}

int CmdTst(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char text[16];
    std::snprintf(text, sizeof text, "%d",
                  static_cast<int>(g_AlarmState.summary.load(std::memory_order_acquire)));
    WriteTextReply(ifc, text);
    return 0;
}

}  // namespace scpi
