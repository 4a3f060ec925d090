// The execution side of a channel: running a recognised command (queries here, set commands handed
// to the menu/control thread), the completion of a handed-over command, large replies, the reply
// writer and the pass that a channel loop runs.
#include <cstdint>
#include <cstdio>

#include "core/control/calibration/cal_state.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "scpi/channels/ports/device_clear.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"

namespace {

constexpr uint32_t kPostedPollMs = 2;
constexpr uint32_t kPassPeriodMs = 2;

int Control(ScpiInterface* ifc, int32_t code, uintptr_t argument) {
    return ifc->io.control != nullptr ? ifc->io.control(code, argument) : -1;
}

bool AtMessageEnd(const ScpiParseState* ps) {
    return (ps->hdrFlags & kHdrEnd) != 0;
}

// A command the parser refused leaves no sure place where the next one starts, replies that overflow
// the queue are lost whole, and a set command that did not run or take effect (refused while the unit
// goes down, given up, no effect) must not be followed by a "1" of *OPC? that a client would take for its
// acknowledgement: the rest of the message is skipped. A command that ran and was refused by its handler
// leaves the commands after it in place, so a query there still gets its answer ("SYST:ERR?" telling
// why) instead of leaving its client waiting for a reply that never comes.
bool SkipsRest(const ScpiParseState* ps, bool ran) {
    if (ps->errIndex == 0 || AtMessageEnd(ps)) return false;
    return !ran || ps->errIndex < kScpiErrExecution || ps->errIndex == kScpiErrTooMuchData;
}

bool Aligned4(const void* p) {
    return (reinterpret_cast<uintptr_t>(p) & 3u) == 0;
}

// The main-set id of the command in the block (alternate ids stand for main ones).
uint32_t MainIdOf(const ScpiInterface* ifc) {
    uint32_t id = ifc->cmd->cmdId;
    if (ifc->cmdSet == &g_ScpiCmdSets[1]) return id < scpi::kAltToMainId.size() ? scpi::kAltToMainId[id] : 0;
    return id;
}

// The handler row of the command in the block, from the table of the set it was parsed in (its ids mean
// nothing in the other); null for an id outside the table.
const ScpiHandlerRow* HandlerRowOf(const ScpiInterface* ifc) {
    const ScpiCmdSet* set = ifc->cmdSet != nullptr ? ifc->cmdSet : &g_ScpiCmdSets[0];
    const uint32_t id = ifc->cmd->cmdId;
    return set->handlers != nullptr && id < set->handlerCount ? &set->handlers[id] : nullptr;
}

}  // namespace

void scpiExecute(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr || ifc->cmd == nullptr) return;
    ScpiParseState* ps = ifc->parse;
    if (ps->state != kParseExecute) return;
    // *WAI holds its own channel, as *OPC? does: the menu/control thread carries out the operations it
    // waits for and must not wait for them itself.
    const bool here = ifc->cmd->query != 0 || MainIdOf(ifc) == scpi::kCmdWai;
    if (here) {
        scpi::RunHandler(ifc);
        if (ifc->deferredState != 0) {
            ps->state = kParseDeferred;
            return;
        }
    } else if (SysStatusTest(kSysSetCommandsBarred)) {
        // The instrument is going down for a reboot.
        scpiSetError(ifc, kScpiErrSystem);
        ps->state = SkipsRest(ps, false) ? kParseSkip : kParseFinished;
        return;
    } else {
        ifc->handOver = ScpiHandOverMsg{kMsgSetCommand, 0, ifc};
        // Not sent: tried again on the next pass.
        if (ScpiHandoverPost(ifc, ifc->channelId) != 0) return;
        ps->state = kParsePosted;
        return;
    }
    ps->state = SkipsRest(ps, true) ? kParseSkip : kParseFinished;
}

void scpiPollPostedCommand(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr || ifc->parse->state != kParsePosted) return;
    uint32_t result = 0;
    const int taken = ScpiHandoverPoll(ifc->channelId, &result);
    if (taken == 0) return;
    const uint32_t type = kMsgCompletionBase + ifc->channelId;
    ifc->completion = ScpiCompletionMsg{type, result, 0};
    ScpiParseState* ps = ifc->parse;
    // A command that could not run, or one given up after the longest wait, has failed; one that ran
    // without taking effect is refused as the handler would have refused it.
    if (result != kScpiResultDone && ps->errIndex == 0)
        scpiSetError(ifc, result == kScpiResultNoEffect ? kScpiErrExecution : kScpiErrSystem);
    if (SkipsRest(ps, result == kScpiResultDone)) {
        ps->state = kParseSkip;
    } else if (ifc->deferredState != 0) {
        ps->state = kParseDeferred;
    } else {
        ps->state = kParseFinished;
    }
}

int scpiWriteResponse(ScpiInterface* ifc, const void* data, uint32_t length, int32_t mode,
                      uint32_t noSeparator) {
    if (ifc == nullptr || ifc->io.write == nullptr) return -1;
    if (noSeparator == 0 && ifc->replyCount > 0 && ifc->io.write(";", 1, kPortCopy) < 0) {
        scpiSetError(ifc, kScpiErrTooMuchData);
        return -1;
    }
    int rc = ifc->io.write(data, length, mode);
    if (rc < 0) scpiSetError(ifc, kScpiErrTooMuchData);
    return rc;
}

uint32_t EnterRemoteOnCommand(ScpiInterface* ifc) {
    if (ifc != nullptr && ifc->parse != nullptr && ifc->cmd != nullptr &&
        ifc->parse->state == kParseExecute && MainIdOf(ifc) != scpi::kCmdSystCommRlst &&
        RemoteStateGet() == kRemoteLocal) {
        OutputFlagSet(kOutFlagRemote);
        RemoteStateSet(kRemoteRemote);
    }
    return OutputFlagTest(kOutFlagRemote) ? 1 : 0;
}

int scpiCheckContext(const ScpiInterface* ifc, const char* name) {
    if (ifc != nullptr && Aligned4(ifc) && Aligned4(&ifc->errq) && Aligned4(&ifc->completion) &&
        Aligned4(&ifc->handOver))
        return 0;
    std::fprintf(stderr, "scpi: the context of %s is not aligned\n", name != nullptr ? name : "a channel");
    return -1;
}

namespace scpi {

int ChannelStart(ScpiInterface* ifc, const char* name, const ScpiIoOps& ops) {
    if (scpiCheckContext(ifc, name) != 0) return -1;
    scpiStatusBlockInit(ifc->status);
    ifc->io = ops;
    if (ifc->io.init != nullptr) ifc->io.init(name, ifc->channelId);
    LogClear(ifc);
    ifc->replyCount = 0;
    ifc->deviceClear = 0;
    if (ifc->cmd != nullptr) {
        ifc->cmd->paramCount = 0;
        ifc->cmd->dataUsed = 0;
        ifc->cmd->suffixCount = 0;
    }
    scpiResetInterface(ifc);
    if (ifc->parse != nullptr) ifc->parse->curNode = CmdSetDesc(ifc)->mainRoot;
    scpiErrorQueueClear(&ifc->errq);
    return 0;
}

int RunHandler(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->cmd == nullptr) return -1;
    const ScpiHandlerRow* row = HandlerRowOf(ifc);
    return (row != nullptr && row->handler != nullptr ? row->handler : CmdUndefined)(ifc);
}

int RunSetHandler(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->cmd == nullptr) return -1;
    const ScpiHandlerRow* row = HandlerRowOf(ifc);
    if (row != nullptr && row->reach == ScpiSetReach::kPageOrOutput && CalibrationInProgress()) {
        scpiSetError(ifc, kScpiErrSettingsConflict);
        return 0;
    }
    return RunHandler(ifc);
}

bool MayChangeOutput(const ScpiInterface* ifc) {
    const ScpiHandlerRow* row = ifc != nullptr && ifc->cmd != nullptr ? HandlerRowOf(ifc) : nullptr;
    return row == nullptr || row->reach != ScpiSetReach::kStatus;
}

void DeferredStep(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr || ifc->parse->state != kParseDeferred) return;
    if (ifc->deferredState == 1) {
        scpiWriteResponse(ifc, ifc->deferredData, ifc->deferredLen, kPortByRef, 0);
        if (ifc->io.write != nullptr) ifc->io.write(nullptr, 0, kPortCommit);
        ifc->deferredState = 2;
    } else if (ifc->deferredState == 2) {
        if (Control(ifc, kPortCtlCommitted, 0) <= 0) {
            SharedBufRelease();
            DeferredSlot9Commit(ifc);
            ifc->deferredState = 0;
            ifc->deferredData = nullptr;
            ifc->deferredLen = 0;
        }
    } else {
        ifc->deferredState = 0;
    }
    if (ifc->deferredState == 0) ifc->parse->state = kParseFinished;
}

bool WaitsForInput(const ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr) return false;
    const uint32_t s = ifc->parse->state;
    return s == kParseHeader || s == kParseParams || s == kParseSkip;
}

bool ChannelPass(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr) return false;
    scpiPollPostedCommand(ifc);
    if (ifc->parse->state == kParsePosted) return false;
    if (ifc->parse->state == kParseHeader) ReselectCmdSet(ifc);
    DeferredStep(ifc);
    scpiProcessInput(ifc);
    EnterRemoteOnCommand(ifc);
    // A query of the status byte sees what was sent since the last pass, not a reply already gone.
    if (ifc->parse->state == kParseExecute) scpiUpdateStatusByte(ifc);
    scpiExecute(ifc);
    if (ifc->parse->state == kParsePosted) return false;
    scpiUpdateStatusByte(ifc);
    return Control(ifc, kPortCtlCommitted, 0) > 0;
}

void ChannelAwaitProgress(ScpiInterface* ifc, uint32_t waitMs) {
    if (ifc == nullptr || ifc->parse == nullptr) return;
    const uint32_t state = ifc->parse->state;
    if (state == kParsePosted)
        ScpiHandoverWaitCompletion(ifc->channelId, waitMs);
    else if (state == kParseDeferred || state == kParseExecute)
        plat::SleepMs(kPassPeriodMs);
}

void ChannelDropSession(ScpiInterface* ifc) {
    if (ifc == nullptr || ifc->parse == nullptr) return;
    ScpiParseState* ps = ifc->parse;
    while (ps->state == kParsePosted) {
        scpiPollPostedCommand(ifc);
        if (ps->state == kParsePosted) ScpiHandoverWaitCompletion(ifc->channelId, kPostedPollMs);
    }
    // The error of the last command still goes to the queue, which outlives the session.
    if (ps->errIndex != 0) scpiErrorQueuePush(&ifc->errq, ps->errIndex, LogCurrentLine(ifc));
    if (ifc->deferredState != 0) {
        SharedBufRelease();
        DeferredSlot9Commit(ifc);
        ifc->deferredState = 0;
        ifc->deferredData = nullptr;
        ifc->deferredLen = 0;
    }
    Control(ifc, kPortCtlClearOutput, 0);
    ifc->replyCount = 0;
    if (ifc->cmd != nullptr) {
        ifc->cmd->paramCount = 0;
        ifc->cmd->dataUsed = 0;
        ifc->cmd->suffixCount = 0;
    }
    LogCloseOpenLine(ifc);
    scpiResetInterface(ifc);
    ps->curNode = CmdSetDesc(ifc)->mainRoot;
}

}  // namespace scpi
