#include "scpi/channels/ports/device_clear.h"

#include "core/system/messaging/msg_queue.h"
#include "scpi/channels/remote_port.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/data/data_slot9.h"

namespace scpi {
namespace {

// Of the device-clear word: a clear waits for the completion of the command with the menu/control thread
// (the low bit is the USB device channel's own flag).
constexpr uint32_t kClearAwaitsCompletion = 1u << 1;

int Control(ScpiInterface* ifc, int32_t code) {
    return ifc->io.control != nullptr ? ifc->io.control(code, 0) : -1;
}

uint32_t MainCmdId(const ScpiInterface* ifc) {
    const uint32_t id = ifc->cmd->cmdId;
    if (ifc->cmdSet == &g_ScpiCmdSets[1]) return id < kAltToMainId.size() ? kAltToMainId[id] : 0;
    return id;
}

}  // namespace

void DeferredSlot9Commit(const ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->cmd == nullptr) return;
    const uint32_t id = MainCmdId(ifc);
    if (id == kCmdDataSeqDataPres) {
        Slot9Return(Slot9Kind::kSeq);
    } else if (id == kCmdDataSimDataPres) {
        Slot9Return(Slot9Kind::kSim);
    }
}

void DeviceClear(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr) return;
    ScpiParseState* ps = ifc->parse;
    // The queue may still point into the shared transfer buffer: it is emptied first, so that once the
    // buffer is released and another channel fills it, nothing of that is sent from here.
    if (Control(ifc, kPortCtlCommitted) > 0 || ifc->deferredState != 0) Control(ifc, kPortCtlClearOutput);
    if (ps->state == kParsePosted) {
        ifc->deviceClear |= kClearAwaitsCompletion;
        return;
    }
    if (ifc->deferredState != 0) {
        SharedBufRelease();
        DeferredSlot9Commit(ifc);
        ifc->deferredState = 0;
        ifc->deferredData = nullptr;
        ifc->deferredLen = 0;
    }
    if (ifc->io.write != nullptr) ifc->io.write(nullptr, 0, kPortDiscard);
    ifc->replyCount = 0;
    if (ifc->cmd != nullptr) {
        ifc->cmd->paramCount = 0;
        ifc->cmd->dataUsed = 0;
        ifc->cmd->suffixCount = 0;
    }
    if (ifc->log.curCol > 0) LogCloseLine(ifc);
    scpiResetInterface(ifc);
    ps->curNode = CmdSetDesc(ifc)->mainRoot;
}

void DeviceClearAfterCompletion(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr || (ifc->deviceClear & kClearAwaitsCompletion) == 0) return;
    if (ifc->parse->state == kParsePosted) return;
    ifc->deviceClear &= ~kClearAwaitsCompletion;
    DeviceClear(ifc);
}

}  // namespace scpi
