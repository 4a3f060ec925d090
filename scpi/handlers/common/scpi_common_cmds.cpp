// The IEEE 488.2 common commands of the status model, of operation complete and the identity. Queries
// and *WAI run in the channel's thread; the other set forms on the menu/control thread.
#include <cstring>

#include "core/control/alarms/alarms.h"
#include "core/control/sys_event.h"
#include "core/system/config/identity.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"

namespace scpi {
namespace {

// A pass of the control task: a set command is pending until a pass has taken it up, so a wait of this
// length ends soon after the stage has the setting.
constexpr uint32_t kOpcPollMs = 2;
// The longest a channel waits for the instrument to finish: a factory reset's save takes at most 30 s. A
// stage that never reports ready would otherwise hold the channel, and every client behind it, for good.
constexpr uint32_t kOpcWaitMs = 60000;

// The register value of *ESE and *SRE: one integer 0..255; other parameters are refused by their type.
bool RegisterValue(ScpiInterface* ifc, uint16_t* out) {
    const int count = scpiGetParamCount(ifc);
    if (count < 1) {
        scpiSetError(ifc, kScpiErrMissingParam);
        return false;
    }
    if (count > 1) {
        scpiSetError(ifc, kScpiErrParamCount);
        return false;
    }
    int32_t v = 0;
    switch (ParamType(ifc, 0)) {
        case kItemInt:
            scpiGetInt(ifc, 0, &v);
            if (v < 0 || v > 255) {
                scpiSetError(ifc, kScpiErrDataOutOfRange);
                return false;
            }
            *out = static_cast<uint16_t>(v);
            return true;
        case kItemChoice:
            scpiSetError(ifc, kScpiErrCharNotAllowed);
            return false;
        case kItemString:
            scpiSetError(ifc, kScpiErrStringNotAllowed);
            return false;
        case kItemReal:
            scpiSetError(ifc, kScpiErrNumericData);
            return false;
        case kItemExpression:
            scpiSetError(ifc, kScpiErrExprNotAllowed);
            return false;
        case kItemBlock:
            scpiSetError(ifc, kScpiErrBlockNotAllowed);
            return false;
        default:
            scpiSetError(ifc, kScpiErrSystem);
            return false;
    }
}

// The change of the channel's last set command that the stage plays: what *OPC?, *OPC and *WAI wait for,
// besides the system's own work. Another client's later changes are not theirs.
uint64_t ChannelChange(const ScpiInterface* ifc) {
    return ScpiHandoverLastChange(ifc->channelId);
}

// Holds the channel until no operation is pending (IsOpcBusy), asking at once and then every
// kOpcPollMs; false, with the error set, when the instrument stays busy past kOpcWaitMs.
bool AwaitOperationsComplete(ScpiInterface* ifc) {
    const uint64_t endMs = plat::NowMs() + kOpcWaitMs;
    const uint64_t ticket = ChannelChange(ifc);
    while (IsOpcBusy(ticket) != 0) {
        if (plat::NowMs() >= endMs) {
            // The error drops the message's replies: a client that gave up on this query would take a
            // late "1" for the next one's reply.
            scpiSetError(ifc, kScpiErrExecution);
            return false;
        }
        plat::SleepMs(kOpcPollMs);
    }
    return true;
}

}  // namespace

int CmdUndefined(ScpiInterface* ifc) {
    return scpiRefuseHeader(ifc);
}

int CmdCls(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    scpiErrorQueueClear(&ifc->errq);
    ScpiStatusBlock* b = ifc->status;
    scpiEsrSet(b, 0);
    scpiOperRegSet(b, kRegEvent, 0);
    scpiQuesRegSet(b, kRegEvent, 0);
    scpiWarnRegSet(b, kRegEvent, 0);
    scpiLockRegSet(b, kRegEvent, 0);
    AlarmClear();
    // A waiting *OPC would set its bit in the registers just cleared.
    scpiOpcDisarm(b);
    // A popup that waits to be closed would otherwise outlast the state the remote controller cleared.
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    return 0;
}

int CmdEse(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, scpiEseGet(ifc->status));
    uint16_t value;
    if (RegisterValue(ifc, &value)) scpiEseSet(ifc->status, value);
    return 0;
}

int CmdEsr(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    int esr = scpiEsrGet(ifc->status);
    int rc = WriteSignedReply(ifc, esr);
    // Read and cleared: an event that arrives after this query shows in the next one.
    if (rc >= 0) scpiEsrSet(ifc->status, 0);
    return 0;
}

int CmdIdn(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char idn[kScpiIdnSize + 1] = {};
    IdentityTextRead(g_IdnBuf, kScpiIdnSize, idn);
    WriteTextReply(ifc, idn);
    return 0;
}

int CmdOpc(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) {
        // The channel waits here until the instrument has finished what it was doing.
        OpcWaitStart();
        if (AwaitOperationsComplete(ifc)) WriteTextReply(ifc, "1");
        return 0;
    }
    if (scpiGetParamCount(ifc) > 0) {
        scpiSetError(ifc, kScpiErrParamNotAllowed);
        return 0;
    }
    // The bit comes once what *OPC? would wait for is done; the channel goes on meanwhile.
    scpiOpcArm(ifc->status, ChannelChange(ifc));
    return 0;
}

int CmdWai(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 0) return scpiRefuseHeader(ifc);
    // The channel reads nothing more until what *OPC? would wait for is done.
    OpcWaitStart();
    AwaitOperationsComplete(ifc);
    return 0;
}

int CmdSre(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, scpiSreGet(ifc->status));
    uint16_t value;
    if (RegisterValue(ifc, &value)) scpiSreSet(ifc->status, value);
    return 0;
}

int CmdStb(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    WriteSignedReply(ifc, scpiGetStatusByte(ifc->status));
    return 0;
}

}  // namespace scpi
