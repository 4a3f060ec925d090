// *SAV and *RCL (and their MEMory aliases): store the live settings into a preset, or recall one.
#include "core/control/preset_output.h"
#include "core/params/access/param_access.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "platform/host/clock.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr int32_t kLastPreset = 9;
constexpr uint32_t kRecallSettleMs = 90;
enum : uint32_t { kRecall = 0, kStore = 1 };

// The preset number: MINimum 0, MAXimum 9 or an integer 0-9. An error row when there is none.
uint32_t PresetNumber(ScpiInterface* ifc, int32_t* n) {
    if (scpiGetChoice(ifc, 0, n) == 0) {
        if (*n == 0 || *n == 1) {
            *n = *n == 0 ? 0 : kLastPreset;
            return 0;
        }
        return kScpiErrDataOutOfRange;
    }
    if (scpiGetInt(ifc, 0, n) != 0) return kScpiErrParameter;
    return *n >= 0 && *n <= kLastPreset ? 0 : kScpiErrDataOutOfRange;
}

int PresetCommand(ScpiInterface* ifc, uint32_t store) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    if (SeqSimIsActive()) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    int32_t n = 0;
    if (const uint32_t row = PresetNumber(ifc, &n); row != 0) {
        scpiSetError(ifc, row);
        return 0;
    }
    // The message posted below shows the index set here; the status bar's preset cell the current preset,
    // which every form names, so that the cell never names a preset other than the last one touched.
    const uint32_t index = static_cast<uint32_t>(n);
    if (store == kRecall) {
        g_OutputRefresh.store(1, std::memory_order_release);
        g_HomePage.recallIndex.store(index, std::memory_order_release);
    } else {
        g_HomePage.saveIndex.store(index, std::memory_order_release);
    }
    g_HomePage.presetSel.store(index, std::memory_order_release);
    if (core::PresetRunForOutput(store, index) != 0) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    if (store == kRecall) plat::SleepMs(kRecallSettleMs);
    MsgQueue_PostId(store == kRecall ? kMsgRecalled : kMsgSaved);
    return 0;
}

}  // namespace

int CmdRcl(ScpiInterface* ifc) {
    return PresetCommand(ifc, kRecall);
}

int CmdSav(ScpiInterface* ifc) {
    return PresetCommand(ifc, kStore);
}

}  // namespace scpi
