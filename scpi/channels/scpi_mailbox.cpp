// The request mailbox of a channel: the only way another thread changes a channel. The poster waits
// until the channel thread has handled the request in its next pass.
#include <cstring>

#include "platform/host/clock.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"

namespace {

constexpr uint32_t kPostSettleMs = 10;

bool Valid(const ScpiStatusBlock* block) {
    return block != nullptr && (block->chanFlags.load(std::memory_order_acquire) & kChanValid) != 0;
}

}  // namespace

int scpiPostInterfaceRequest(ScpiStatusBlock* block, uint32_t bits, uintptr_t argument) {
    if (!Valid(block)) return -1;
    // A done signal left by a request whose poster gave up waiting is not this request's.
    while (sem_trywait(&block->doneSem) == 0) {
    }
    if (bits & kReqSetValue) block->reqValue = static_cast<uint32_t>(argument);
    if ((bits & kReqSetBlock) && argument != 0) {
        std::memcpy(block->reqBlock, reinterpret_cast<const void*>(argument), kScpiReqBlockSize);
    }
    block->reqBits.fetch_or(bits, std::memory_order_release);
    sem_post(&block->reqSem);
    plat::SleepMs(kPostSettleMs);
    // Waited for against the instrument clock, and not for ever: a channel whose thread is not
    // running must not hang the poster. The request stays pending for when it runs.
    const uint64_t start = plat::NowMs();
    while (sem_trywait(&block->doneSem) != 0) {
        if (plat::NowMs() - start >= kScpiMailboxWaitMs) return -1;
        plat::SleepMs(1);
    }
    return 0;
}

void scpiMailboxPoll(ScpiInterface* ifc) {
    if (ifc == nullptr || !Valid(ifc->status)) return;
    ScpiStatusBlock* b = ifc->status;
    // While a set command is with the menu/control thread, or a large reply drains from the shared
    // transfer buffer, the context is not the channel's to reset: the requests wait for the command's
    // end (a reset now would leave the completion behind for the next command, or the buffer claimed).
    if (ifc->parse != nullptr && (ifc->parse->state == kParsePosted || ifc->parse->state == kParseDeferred))
        return;
    if (sem_trywait(&b->reqSem) != 0) return;
    // Taken and cleared at once, so that a request posted while these are handled waits for the
    // next pass instead of being lost.
    const uint32_t bits = b->reqBits.exchange(0, std::memory_order_acq_rel);
    auto control = [ifc](int32_t code, uintptr_t arg) {
        return ifc->io.control != nullptr ? ifc->io.control(code, arg) : -1;
    };
    if (bits & kReqResetParser) {
        scpiResetInterface(ifc);
        if (ifc->parse != nullptr) ifc->parse->curNode = scpi::CmdSetDesc(ifc)->mainRoot;
    }
    if (bits & kReqEnable) scpiStatusSetBits(b, kChanEnabled);
    const bool connected = control(kPortCtlConnected, 0) == 1;
    if ((bits & kReqResetPort) && connected) control(kPortCtlReset, 0);
    if ((bits & kReqClearOutput) && connected) control(kPortCtlClearOutput, 0);
    if ((bits & kReqSetValue) && connected) control(kPortCtlRearm, b->reqValue);
    if ((bits & kReqSetBlock) && connected)
        control(kPortCtlSerialApply, reinterpret_cast<uintptr_t>(b->reqBlock));
    if (bits & kReqDisable) scpiStatusClearBits(b, kChanEnabled);
    scpiMailboxDone(b);
}

void scpiMailboxDone(ScpiStatusBlock* block) {
    if (!Valid(block)) return;
    sem_post(&block->doneSem);
}
