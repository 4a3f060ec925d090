// The input step of a channel: drives the parser through a command (states 0-3), completes it (state
// 4), skips the rest of a failed message (state 7) and finishes the command (state 8): errors go to
// the queue, the message's replies are committed or discarded, and the next header is relative to the
// branch of the command just finished.
#include "core/params/phase_cfg.h"
#include "platform/host/clock.h"
#include "scpi/channels/remote_port.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_parser_steps.h"

namespace scpi {
namespace {

// Steps one call may take: a command at most, and a bounded amount of input.
constexpr uint32_t kStepsPerCall = 64;
constexpr uint32_t kPhaseChangeSleepMs = 200;

void ClearItems(ScpiCmdBlock* cmd) {
    cmd->paramCount = 0;
    cmd->dataUsed = 0;
}

void CommandComplete(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiCmdBlock* cmd = ifc->cmd;
    if (ps->errIndex == 0) {
        const ScpiForm form = FormOf(ifc);
        if (cmd->paramCount < form.min) {
            SetErrorOnce(ps, kScpiErrMissingParam);
        } else if (cmd->paramCount > form.max) {
            SetErrorOnce(ps, kScpiErrParamCount);
        }
    }
    if (ps->errIndex != 0) {
        ClearItems(cmd);
    } else {
        for (uint32_t level = 0; level < ps->levelCount && cmd->suffixCount < kScpiMaxLevels; ++level) {
            cmd->suffix[cmd->suffixCount++] = ps->suffixVal[level];
        }
        const ScpiCmdSetDescriptor* set = CmdSetDesc(ifc);
        cmd->cmdId = set->nodes[ps->cmdNode].cmdId;
        cmd->query = (ps->hdrFlags & kHdrQuery) ? 1 : 0;
    }
    cmd->channelId = ifc->channelId;
    if (ps->errIndex == 0) {
        ifc->handOver = ScpiHandOverMsg{10, 0, ifc};
        ps->state = kParseExecute;
    } else if (ps->hdrFlags & kHdrEnd) {
        ps->state = kParseFinished;
    } else {
        ps->state = kParseSkip;
    }
}

bool SkipStep(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    for (uint32_t n = 0; n < kScpiBytesPerStep; ++n) {
        uint8_t c;
        if (!ReadByte(ifc, &c)) return n > 0;
        if (c == '\n') {
            ps->hdrFlags |= kHdrEnd;
            ps->state = kParseFinished;
            return true;
        }
        SkipTrack(ps, c);
    }
    return true;
}

int Write(ScpiInterface* ifc, const void* data, uint32_t length, int32_t mode) {
    return ifc->io.write != nullptr ? ifc->io.write(data, length, mode) : -1;
}

int Control(ScpiInterface* ifc, int32_t code, uintptr_t argument) {
    return ifc->io.control != nullptr ? ifc->io.control(code, argument) : -1;
}

// A query that failed, or was skipped, still gets its place in the reply: an empty field.
bool EmptyField(ScpiInterface* ifc) {
    const bool written = ifc->replyCount == 0 || Write(ifc, ";", 1, kPortCopy) == 1;
    ifc->replyCount++;
    return written;
}

// The message's reply line: what is staged, the line feed, committed.
bool CommitLine(ScpiInterface* ifc) {
    if (Write(ifc, "\n", 1, kPortCopy) < 0) return false;
    Write(ifc, nullptr, 0, kPortCommit);
    if (ifc->channelId == kChanUsbGpib) Control(ifc, kPortCtlAnnounceLength, 0);
    return true;
}

void Finish(ScpiInterface* ifc) {
    ScpiParseState* ps = ifc->parse;
    ScpiCmdBlock* cmd = ifc->cmd;
    const ScpiCmdSetDescriptor* set = CmdSetDesc(ifc);
    const bool failed = ps->errIndex != 0;
    // Replies too large for the queue are dropped whole, never sent cut short: the message still gets
    // its line, empty. (A set command's data too large for it fails as any other command.)
    bool overflow = ps->errIndex == kScpiErrTooMuchData && (ps->hdrFlags & kHdrQuery);
    if (failed) {
        scpiErrorQueuePush(&ifc->errq, ps->errIndex, LogCurrentLine(ifc));
        // Whatever the failed command staged must not go out as an answer.
        Write(ifc, nullptr, 0, kPortRollback);
        // Every query of the message is answered, a failed or skipped one with an empty field, so that a
        // client never waits for a reply that does not come and each field stays in its query's place.
        uint32_t fields = ps->skippedQueries + ((ps->hdrFlags & kHdrQuery) ? 1u : 0u);
        for (; fields > 0 && !overflow; --fields)
            overflow = !EmptyField(ifc);
    } else if (ps->hdrFlags & kHdrQuery) {
        ifc->replyCount++;
    }
    if (ps->hdrFlags & kHdrEnd) {
        ps->curNode = set->mainRoot;
        if (ifc->channelId == kChanUsbCdc && ifc->deviceClear) {
            Write(ifc, nullptr, 0, kPortDiscard);
        } else if (overflow) {
            Write(ifc, nullptr, 0, kPortDiscard);
            CommitLine(ifc);
        } else if (ifc->replyCount > 0 && !CommitLine(ifc)) {
            // Replies that fill the queue to the last byte leave no room for their terminator.
            Write(ifc, nullptr, 0, kPortDiscard);
            scpiErrorQueuePush(&ifc->errq, kScpiErrTooMuchData, LogCurrentLine(ifc));
            ps->errIndex = kScpiErrTooMuchData;  // for the standard event status below
            CommitLine(ifc);
        } else if (ifc->replyCount == 0) {
            Write(ifc, nullptr, 0, kPortDiscard);
        }
        ifc->replyCount = 0;
        cmd->suffixCount = 0;
    } else {
        // What this command left staged stays, whatever a later command of the message does.
        Write(ifc, nullptr, 0, kPortMark);
        // A common command leaves the path where it was, so that "SOUR:VOLT 5;*WAI;FREQ 50" stays
        // under SOURce and "*CLS;VOLT 5" starts at the root.
        if (!(ps->hdrFlags & kHdrCommon) && ps->cmdNode < set->nodeCount)
            ps->curNode = set->nodes[ps->cmdNode].parent;
        if (cmd->suffixCount > 0) cmd->suffixCount--;
    }
    scpiUpdateStatusByte(ifc);
    LogCloseLine(ifc);
    ClearItems(cmd);
    scpiResetInterface(ifc);
}

}  // namespace
}  // namespace scpi

void scpiProcessInput(ScpiInterface* ifc) {
    using namespace scpi;
    if (ifc == nullptr || ifc->parse == nullptr || ifc->lexer == nullptr || ifc->cmd == nullptr) return;
    if (g_PhaseCfgChanging.load(std::memory_order_relaxed) != 0) {
        plat::SleepMs(kPhaseChangeSleepMs);
        return;
    }
    if (ifc->cmdSet == nullptr) ReselectCmdSet(ifc);
    ScpiParseState* ps = ifc->parse;
    for (uint32_t step = 0; step < kStepsPerCall; ++step) {
        bool progress = true;
        switch (ps->state) {
            case kParseHeader:
                progress = HeaderStep(ifc);
                break;
            case kParseLookup:
                LookupStep(ifc);
                break;
            case kParseParams:
                progress = ParamStep(ifc);
                break;
            case kParseParamDone:
                ParamCheckStep(ifc);
                break;
            case kParseCommandDone:
                CommandComplete(ifc);
                break;
            case kParseSkip:
                progress = SkipStep(ifc);
                break;
            case kParseFinished:
                Finish(ifc);
                return;
            default:  // execute, posted, deferred reply: the execution loop's states
                return;
        }
        if (!progress) return;
    }
}
