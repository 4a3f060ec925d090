#include "tests/scpi/scpi_channel_fixture.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/control/sys_event.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/spi_device.h"
#include "drivers/spi_nvm.h"
#include "panel/menu_thread.h"
#include "platform/devices/panel_sim.h"
#include "platform/devices/spi.h"
#include "platform/host/clock.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/parser/scpi_errors.h"

namespace scpitest {
namespace {

FakeChannel* g_channel = nullptr;  // the channel whose input the read operation hands out

int FakeRead(void* buffer, uint32_t length, int32_t) {
    FakeChannel* ch = g_channel;
    size_t n = std::min<size_t>({ch->input.size() - ch->inputPos, length, ch->readChunk});
    std::memcpy(buffer, ch->input.data() + ch->inputPos, n);
    ch->inputPos += n;
    return static_cast<int>(n);
}

int FakeWrite(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(&g_channel->port, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}

int FakeControl(int32_t code, uintptr_t argument) {
    if (code != kPortCtlCommitted) g_channel->controls.emplace_back(code, argument);
    if (code == kPortCtlConnected) return 1;
    return scpi::PortControl(&g_channel->port, code, reinterpret_cast<const void*>(argument));
}

void Fail(const char* what) {
    std::fprintf(stderr, "scpi channel invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

FakeChannel::FakeChannel(uint32_t channelId) : cmd(new ScpiCmdBlock()) {
    g_channel = this;
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sv) != 0) Fail("socket");
    peer = sv[1];
    ifc.channelId = channelId;
    ifc.parse = &parse;
    ifc.lexer = &lexer;
    ifc.cmd = cmd.get();
    ifc.status = &status;
    ifc.io = ScpiIoOps{nullptr, nullptr, FakeWrite, FakeRead, FakeControl, nullptr, nullptr};
    scpi::PortInit(&port, kPortSocketPath);
    port.fd = sv[0];
    port.isOpen = 1;
    Reset();
}

FakeChannel::~FakeChannel() {
    scpiStatusBlockDestroy(&status);
    close(port.fd);
    port.isOpen = 0;
    scpi::PortDeinit(&port);
    close(peer);
    if (g_channel == this) g_channel = nullptr;
}

void FakeChannel::Reset() {
    input.clear();
    inputPos = 0;
    commands.clear();
    controls.clear();
    std::memset(&parse, 0, sizeof(parse));
    std::memset(&lexer, 0, sizeof(lexer));
    std::memset(cmd.get(), 0, offsetof(ScpiCmdBlock, data));
    ifc.cmdSet = nullptr;
    scpi::PortQueueClear(&port);
    Received();
    g_RemoteState.store(0);
    if (scpi::ChannelStart(&ifc, "test", ifc.io) != 0) Fail("channel start");
}

uint8_t* FakeChannel::PrepareLargeReply(uint32_t length) {
    auto* buf = SharedBufInit() == 0 ? static_cast<uint8_t*>(SharedBufClaim()) : nullptr;
    if (buf != nullptr) std::memset(buf, 'z', length);
    parse.hdrFlags = kHdrQuery | kHdrEnd;
    parse.state = kParseDeferred;
    ifc.deferredState = 1;
    ifc.deferredData = buf;
    ifc.deferredLen = length;
    return buf;
}

void FakeChannel::Execute() {
    ParsedCommand c;
    c.id = cmd->cmdId;
    c.query = cmd->query != 0;
    c.suffixes.assign(cmd->suffix, cmd->suffix + cmd->suffixCount);
    for (uint32_t i = 0; i < cmd->paramCount; ++i) {
        ScpiParamItem item = cmd->items[i];
        if (item.data < cmd->data || item.data + item.length > cmd->data + kScpiDataAreaSize)
            Fail("item outside area");
        if ((item.data - cmd->data) % 4 != 0) Fail("item not aligned");
        c.bytes.emplace_back(reinterpret_cast<const char*>(item.data), item.length);
        c.items.push_back(item);
    }
    uint32_t err = handler ? handler(c) : 0;
    if (c.query) {
        // What a query handler does: ";" between the replies of one message, then its reply. One that
        // fails has written it all the same, as a handler refused half way through its reply would.
        if (ifc.replyCount > 0) ifc.io.write(";", 1, kPortCopy);
        std::string reply = std::to_string(c.id);
        ifc.io.write(reply.data(), static_cast<uint32_t>(reply.size()), kPortCopy);
    }
    if (err != 0) scpiSetError(&ifc, err);
    commands.push_back(std::move(c));
    const bool end = (parse.hdrFlags & kHdrEnd) != 0;
    parse.state = (err != 0 && !end) ? kParseSkip : kParseFinished;
}

void FakeChannel::Send(std::string_view bytes) {
    Feed(bytes);
    g_channel = this;
    for (int guard = 0; guard < 1000000; ++guard) {
        uint32_t before = parse.state;
        size_t pos = inputPos;
        scpiProcessInput(&ifc);
        if (parse.state == kParseExecute) {
            Execute();
            continue;
        }
        if (parse.state == before && inputPos == pos) return;
    }
    Fail("parser does not settle");
}

bool FakeChannel::Pass() {
    g_channel = this;
    return scpi::ChannelPass(&ifc);
}

std::string FakeChannel::Exec(std::string_view bytes) {
    Feed(bytes);
    for (int guard = 0; guard < 10000; ++guard) {
        if (scpi::WaitsForInput(&ifc) && inputPos == input.size()) return Received();
        if (Pass()) Flush();
        if (parse.state == kParsePosted && !(betweenPasses && MenuThread_TakeSetCommand())) MenuThread_Pass();
    }
    Fail("the channel does not settle");
    return "";
}

std::string FakeChannel::Run(const std::string& message) {
    std::string reply = Exec(message + "\n");
    if (!reply.empty() && reply.back() == '\n') reply.pop_back();
    return reply + "|" + PopErrors();
}

void FakeChannel::HandOverBetweenPasses() {
    betweenPasses = true;
    for (int i = 0; i < 300; ++i)
        MenuThread_Pass();
}

std::string FakeChannel::RunTaken(const std::string& message) {
    std::string reply = Run(message);
    for (int i = 0; i < 50; ++i)
        MenuThread_Pass();
    return reply;
}

std::string FakeChannel::Received() {
    std::string out;
    char buf[8192];
    for (ssize_t n; (n = recv(peer, buf, sizeof buf, 0)) > 0;) {
        if (!out.empty()) out += "|";
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

void FakeChannel::Flush() {
    while (PortWrite(&port, nullptr, 0, kPortTransmit) > 0) {
    }
}

std::string FakeChannel::Transmit() {
    Flush();
    return Received();
}

std::string FakeChannel::Describe() const {
    std::string out;
    for (const ParsedCommand& c : commands) {
        out += (out.empty() ? "" : "; ") + std::to_string(c.id) + (c.query ? "?" : "");
        if (std::any_of(c.suffixes.begin(), c.suffixes.end(), [](int32_t s) { return s >= 0; })) {
            for (size_t i = 0; i < c.suffixes.size(); ++i)
                out += (i ? "," : " s(") + std::to_string(c.suffixes[i]);
            out += ")";
        }
        for (size_t i = 0; i < c.items.size(); ++i) {
            const std::string& b = c.bytes[i];
            const uint32_t type = c.items[i].type;
            int32_t iv = 0;
            double dv = 0;
            std::memcpy(&iv, b.data(), std::min(b.size(), sizeof(iv)));
            std::memcpy(&dv, b.data(), std::min(b.size(), sizeof(dv)));
            char real[64];
            std::snprintf(real, sizeof(real), " r%g", dv);
            out += type == kItemOmitted  ? std::string(" o")
                   : type == kItemInt    ? " i" + std::to_string(iv)
                   : type == kItemChoice ? " c" + std::to_string(iv)
                   : type == kItemReal   ? std::string(real)
                   : type == kItemString ? " t\"" + std::string(b.c_str()) + "\""
                   : type == kItemBlock  ? " b" + std::to_string(b.size()) + ":" + b
                                         : std::string(" ?");
        }
    }
    return out;
}

std::string FakeChannel::PopErrors() {
    std::string out;
    for (int32_t index; (index = scpiErrorQueuePopIndex(&ifc.errq)) != 0;)
        out += (out.empty() ? "" : " | ") + std::string(g_ScpiErrTable[index]);
    return out;
}

MenuEnv::MenuEnv() {
    plat::PanelSimReset();
    SpiPanelOpen();
    g_SysStatus.store(0);
    g_OutputFlags.store(0);
    core::SysEventReset();
    if (MsgQueueInit() != 0 || IpcSemInit() != 0) Fail("message queue");
    panel::MenuThreadReset();
    // No change of an earlier case for *OPC? to wait for, nor its memory (another root's) left open.
    ScpiHandoverReset();
    SpiDevClose(&g_NvSpi), plat::NvmSimReset();
    MenuThread_Start();
}

MenuEnv::~MenuEnv() {
    g_ScpiCmdSetSel.store(0);
    core::MsgQueueRemove();
}

void FuzzOneInput(const uint8_t* data, size_t size) {
    static FakeChannel* ch = new FakeChannel();
    // Odd bytes choose the command set and the read size, so that both sets and every read split are
    // exercised.
    if (size > 0) {
        g_ScpiCmdSetSel.store(data[0] & 1u);
        ch->readChunk = 1u + (data[0] >> 1) % 7u;
        data++;
        size--;
    }
    ch->Reset();
    ch->Send(std::string_view(reinterpret_cast<const char*>(data), size));
    ch->Send("\n");
    // After a final line feed only a definite-length block still waiting for its bytes may keep the
    // parser from the next header.
    const bool blockPending = ch->parse.state == kParseParams && (ch->lexer.tokClass & kTokDefBlock);
    if (ch->parse.state != kParseHeader && !blockPending) Fail("parser left in an unexpected state");
    if (ch->cmd->paramCount > kScpiMaxParams) Fail("too many items");
    if (ch->cmd->dataUsed > kScpiDataAreaSize) Fail("data area overrun");
    if (ch->cmd->suffixCount > kScpiMaxLevels) Fail("too many suffixes");
    if (ch->parse.levelCount > kScpiMaxLevels) Fail("too many levels");
    if (scpiErrorQueueCount(&ch->ifc.errq) > kScpiErrQueueSize) Fail("error queue overrun");
    if (ch->port.txq.ring.used < 0 || ch->port.txq.ring.used > static_cast<int32_t>(kTxRingSize))
        Fail("ring");
    for (const ParsedCommand& c : ch->commands) {
        if (c.id == 0) Fail("command without id");
    }
    ch->Transmit();
    g_ScpiCmdSetSel.store(0);
}

void FillLine(int fd) {
    const std::string filler(4096, 'f');
    for (int quiet = 0; quiet < 20;) {
        if (write(fd, filler.data(), filler.size()) > 0) {
            quiet = 0;
        } else {
            ++quiet;
            plat::SleepMs(5);
        }
    }
}

}  // namespace scpitest
