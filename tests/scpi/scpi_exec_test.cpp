// The execution loop of a channel with its real parts: the parser, the handlers, the set-command
// hand-over through the message queue to the menu/control thread's pass, and the transmit queue. Replies
// go to a packet socket, so that each send the port makes arrives as one record.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/control/sys_event.h"
#include "core/system/msg_queue.h"
#include "core/system/output_flags.h"
#include "core/system/remote_state.h"
#include "core/system/sys_status.h"
#include "panel/menu_thread.h"
#include "platform/clock.h"
#include "platform/panel_sim.h"
#include "scpi/remote_port.h"
#include "scpi/scpi_errors.h"
#include "scpi/scpi_handler.h"
#include "scpi/scpi_interface.h"
#include "scpi/set_command_handover.h"
#include "src/dev/spi_device.h"

namespace {

class Channel;
Channel* g_reading = nullptr;  // the channel whose input the read operation hands out

// One channel context with its own parser, command block, status block and error queue.
class Channel {
  public:
    explicit Channel(uint32_t id) : cmd_(new ScpiCmdBlock()) {
        ifc.channelId = id;
        ifc.parse = &parse_;
        ifc.lexer = &lexer_;
        ifc.cmd = cmd_.get();
        ifc.status = &status_;
    }
    ~Channel() { scpiStatusBlockDestroy(&status_); }
    ScpiInterface ifc{};
    std::string input;
    size_t pos = 0;

  private:
    ScpiParseState parse_{};
    ScpiLexer lexer_{};
    std::unique_ptr<ScpiCmdBlock> cmd_;
    ScpiStatusBlock status_{};
};

RemotePort g_port{};

int Read(void* buffer, uint32_t length, int32_t) {
    Channel* ch = g_reading;
    size_t n = std::min<size_t>(ch->input.size() - ch->pos, length);
    std::memcpy(buffer, ch->input.data() + ch->pos, n);
    ch->pos += n;
    return static_cast<int>(n);
}
int Write(const void* data, uint32_t length, int32_t mode) {
    return PortWrite(&g_port, data, length, mode == kPortCopyEnd ? kPortCopy : mode);
}
int Control(int32_t code, uintptr_t) {
    if (code == kPortCtlConnected) return 1;
    return scpi::PortControl(&g_port, code, nullptr);
}
constexpr ScpiIoOps kOps{nullptr, nullptr, Write, Read, Control, nullptr, nullptr};

class ExecLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::PanelSimReset();
        SpiPanelOpen();
        g_SysStatus.store(0);
        g_RemoteState.store(0);
        g_OutputFlags.store(0);
        core::SysEventReset();
        ASSERT_EQ(MsgQueueInit(), 0);
        IpcSemInit();
        panel::MenuThreadReset();
        MenuThread_Start();  // the identity text and the command set
        int sv[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, sv), 0);
        ASSERT_EQ(scpi::PortInit(&g_port, kPortSocketPath), 0);
        g_port.fd = sv[0];
        g_port.isOpen = 1;
        peer_ = sv[1];
        ASSERT_EQ(scpi::ChannelStart(&a.ifc, "A", kOps), 0);
        ASSERT_EQ(scpi::ChannelStart(&b.ifc, "B", kOps), 0);
    }
    void TearDown() override {
        g_ScpiCmdSetSel.store(0);
        close(g_port.fd);
        g_port.isOpen = 0;
        scpi::PortDeinit(&g_port);
        close(peer_);
        core::MsgQueueRemove();
    }

    // Runs the channel's passes (and the menu/control thread's while a command is posted) until the
    // input is consumed and the parser waits for more; transmits what is committed.
    void Run(Channel& ch) {
        g_reading = &ch;
        for (int guard = 0; guard < 10000; ++guard) {
            if (scpi::WaitsForInput(&ch.ifc) && ch.pos == ch.input.size()) return;
            if (scpi::ChannelPass(&ch.ifc)) {
                while (PortWrite(&g_port, nullptr, 0, kPortTransmit) > 0) {
                }
            }
            if (ch.ifc.parse->state == kParsePosted) MenuThread_Pass();
        }
        FAIL() << "the channel does not settle in state " << ch.ifc.parse->state;
    }
    void Send(Channel& ch, const std::string& text) {
        ch.input += text;
        Run(ch);
    }
    // The records the port sent, joined with "|".
    std::string Sent() {
        std::string out;
        char buf[8192];
        ssize_t n;
        while ((n = recv(peer_, buf, sizeof buf, 0)) > 0) {
            if (!out.empty()) out += "|";
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }
    // Every queued error of the channel, oldest first.
    static std::string Errors(Channel& ch) {
        std::string out;
        for (int32_t i; (i = scpiErrorQueuePopIndex(&ch.ifc.errq)) != 0;)
            out += std::string(out.empty() ? "" : " | ") + g_ScpiErrTable[i];
        return out;
    }
    std::string Ask(Channel& ch, const std::string& text) {
        Send(ch, text);
        return Sent();
    }

    Channel a{kChanLan};
    Channel b{kChanUsbGpib};
    int peer_ = -1;
};

TEST_F(ExecLoop, RepliesOfOneMessageLeaveAsOneLineInOneSend) {
    EXPECT_EQ(Ask(a, "*IDN?;*STB?\n"), std::string(g_IdnBuf) + ";+0\n");
    EXPECT_EQ(Ask(a, "*IDN?\n*STB?\n"), std::string(g_IdnBuf) + "\n|+0\n");
    EXPECT_EQ(Ask(a, "\n\n"), "");  // empty lines do nothing
    EXPECT_STREQ(g_IdnBuf, "QX-ORVANE,VRN,,1.06");
}

TEST_F(ExecLoop, SetCommandWaitsForItsCompletionAndNothingIsReadMeanwhile) {
    g_reading = &a;
    a.input = "*ESE 8;*ESE?\n";
    for (int i = 0; i < 4 && a.ifc.parse->state != kParsePosted; ++i)
        scpi::ChannelPass(&a.ifc);
    ASSERT_EQ(a.ifc.parse->state, static_cast<uint32_t>(kParsePosted));
    const size_t consumed = a.pos;
    for (int i = 0; i < 3; ++i)
        scpi::ChannelPass(&a.ifc);
    EXPECT_EQ(a.pos, consumed);  // one command in flight: the rest of the message waits
    EXPECT_EQ(scpiEseGet(a.ifc.status), 0);
    // The menu/control thread runs the handler, on its own thread, and completes the command.
    std::thread menu([] { MenuThread_Pass(); });
    menu.join();
    EXPECT_EQ(scpiEseGet(a.ifc.status), 8);
    Run(a);
    EXPECT_EQ(Sent(), "+8\n");
}

TEST_F(ExecLoop, CompletionsGoToTheChannelThatPostedTheCommand) {
    g_reading = &a;
    a.input = "*ESE 1\n";
    scpi::ChannelPass(&a.ifc);
    g_reading = &b;
    b.input = "*ESE 2\n";
    scpi::ChannelPass(&b.ifc);
    ASSERT_EQ(a.ifc.parse->state, static_cast<uint32_t>(kParsePosted));
    ASSERT_EQ(b.ifc.parse->state, static_cast<uint32_t>(kParsePosted));
    MenuThread_Pass();  // a's command
    scpi::ChannelPass(&b.ifc);
    EXPECT_EQ(b.ifc.parse->state, static_cast<uint32_t>(kParsePosted));  // a's completion is not b's
    Run(a);
    EXPECT_EQ(scpiEseGet(a.ifc.status), 1);
    Run(b);
    EXPECT_EQ(scpiEseGet(b.ifc.status), 2);
}

TEST_F(ExecLoop, ClearStatusTravelsThroughTheQueue) {
    Send(a, "VOLTA 100\n*OPC\n");
    a.ifc.status->oper.event = 0x10;
    a.ifc.status->ques.event = 0x20;
    EXPECT_EQ(Ask(a, "*CLS;*ESR?;SYST:ERR?\n"), "+0;+0,\"No error\"\n");
    EXPECT_EQ(a.ifc.status->oper.event, 0);
    EXPECT_EQ(a.ifc.status->ques.event, 0);
}

TEST_F(ExecLoop, SetCommandWhileARebootIsPendingIsRefusedWithoutBeingPosted) {
    SysStatusSet(kSysSetCommandsBarred);
    EXPECT_EQ(Ask(a, "*ESE 4\n"), "");
    EXPECT_EQ(Errors(a), "-310,\"System error\"");
    EXPECT_EQ(scpiEseGet(a.ifc.status), 0);
    SysMsg msg{};
    EXPECT_EQ(MsgQueueRecv(&msg, kMsgSetCommand), -1);
    EXPECT_EQ(Ask(a, "*IDN?;*ESE 4;*STB?\n"), "");  // refused in the middle: the message is dropped
    EXPECT_EQ(Errors(a), "-310,\"System error\"");
}

TEST_F(ExecLoop, QueryReplyIsDiscardedWhenALaterSetCommandFails) {
    EXPECT_EQ(Ask(a, "*IDN?;*ESE 256\n"), "");
    EXPECT_EQ(Errors(a), "-222,\"Data out of range\"");
    EXPECT_EQ(g_port.txq.ring.used, 0);
    EXPECT_EQ(Ask(a, "*ESE?\n"), "+0\n");
}

TEST_F(ExecLoop, RegisterValuesAreCheckedByTypeAndRange) {
    struct Case {
        const char* text;
        const char* error;
        int ese;
    };
    const Case cases[] = {
        {"*ESE 255\n", "", 255},
        {"*ESE 256\n", "-222,\"Data out of range\"", 255},
        {"*ESE -1\n", "-222,\"Data out of range\"", 255},
        {"*ESE 0\n", "", 0},
        {"*ESE #H20\n", "", 32},
        {"*ESE ON\n", "-148,\"Character data not allowed\"", 32},
        {"*ESE 1.5\n", "-120,\"Numeric data error\"", 32},
        {"*ESE \"7\"\n", "-158,\"String data not allowed\"", 32},
        {"*ESE #13abc\n", "-168,\"Block data not allowed\"", 32},
        {"*ESE\n", "-109,\"Missing parameter\"", 32},
        {"*ESE 1,2\n", "-115,\"Unexpected number of parameters\"", 32},
    };
    for (const Case& c : cases) {
        Send(a, c.text);
        EXPECT_EQ(Errors(a), c.error) << c.text;
        EXPECT_EQ(scpiEseGet(a.ifc.status), c.ese) << c.text;
    }
    EXPECT_EQ(Ask(a, "*ESE?\n"), "+32\n");
}

TEST_F(ExecLoop, FormsAHandlerDoesNotImplementAreUndefinedHeaders) {
    for (const char* text : {"*IDN\n", "*ESR\n", "*STB\n", "SYST:ERR\n", "*RST\n", "*OPC 1\n"}) {
        EXPECT_EQ(Ask(a, text), "") << text;
        const std::string err = Errors(a);
        EXPECT_EQ(err, std::string(text) == "*OPC 1\n" ? "-108,\"Parameter not allowed\""
                                                       : "-113,\"Undefined header\"")
            << text;
    }
}

TEST_F(ExecLoop, ErrorQueueAnswersOldestFirstAndStaysOnItsChannel) {
    Send(a, "VOLTA 100\n*ESE 300\n");
    EXPECT_EQ(Ask(b, "SYST:ERR?\n"), "+0,\"No error\"\n");
    EXPECT_EQ(Ask(a, "SYST:ERR?\n"), "-113,\"Undefined header\"\n");
    EXPECT_EQ(Ask(a, "SYST:ERR?;ERR?\n"), "-222,\"Data out of range\";+0,\"No error\"\n");
    EXPECT_EQ(Ask(b, "*ESR?\n"), "+0\n");
}

TEST_F(ExecLoop, EventStatusIsClearedByReading) {
    EXPECT_EQ(Ask(a, "*OPC;*ESR?;*ESR?\n"), "+1;+0\n");
    Send(a, "VOLTA\n");
    EXPECT_EQ(Ask(a, "*ESR?\n"), "+32\n");  // command error
    EXPECT_EQ(Ask(a, "*OPC?\n"), "1\n");
}

TEST_F(ExecLoop, AlternateSetRunsTheMainHandlers) {
    g_ScpiCmdSetSel.store(1);
    EXPECT_EQ(Ask(a, "*IDN?;*ESE 16;*ESE?\n"), std::string(g_IdnBuf) + ";+16\n");
}

TEST_F(ExecLoop, RepliesTooLargeForTheQueueAreRefusedWhole) {
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += "*IDN?;";
    many.back() = '\n';
    EXPECT_EQ(Ask(a, many), "");
    EXPECT_EQ(Errors(a), "-223,\"Too much data\"");
    EXPECT_EQ(g_port.txq.ring.used, 0);
    EXPECT_EQ(Ask(a, "*IDN?\n"), std::string(g_IdnBuf) + "\n");
    // An error that could not be answered stays queued.
    Send(a, "VOLTA\n");
    g_port.txq.ring.used = static_cast<int32_t>(kTxRingSize);  // no room at all
    Send(a, "SYST:ERR?\n");
    g_port.txq = ScpiTxQueue{};
    EXPECT_EQ(Errors(a), "-113,\"Undefined header\" | -223,\"Too much data\"");
}

TEST_F(ExecLoop, LargeReplyIsSentByReferenceAndReleasesTheSharedBuffer) {
    ASSERT_EQ(SharedBufInit(), 0);
    auto* buf = static_cast<uint8_t*>(SharedBufClaim());
    ASSERT_NE(buf, nullptr);
    std::memset(buf, 'z', 3000);
    // What a block-reply handler leaves: its data prepared, the command a query at the message's end.
    Send(a, "*IDN?\n");
    Sent();
    ScpiParseState* ps = a.ifc.parse;
    ps->hdrFlags = kHdrQuery | kHdrEnd;
    ps->state = kParseDeferred;
    a.ifc.deferredState = 1;
    a.ifc.deferredData = buf;
    a.ifc.deferredLen = 3000;
    Run(a);
    EXPECT_EQ(Sent(), std::string(3000, 'z') + "|\n");
    EXPECT_EQ(a.ifc.deferredState, 0u);
    EXPECT_EQ(SharedBufClaim(), buf);  // released once sent
    core::SharedBufFree();
}

TEST_F(ExecLoop, DroppedSessionLeavesNothingForTheNextClient) {
    g_reading = &a;
    a.input = "*IDN?\n*ES";
    while (a.pos < a.input.size())
        scpi::ChannelPass(&a.ifc);  // the reply is committed, not sent; a header is half read
    scpi::ChannelDropSession(&a.ifc);
    EXPECT_EQ(Sent(), "");
    a.input.clear();
    a.pos = 0;
    EXPECT_EQ(Ask(a, "E?\n"), "");
    EXPECT_EQ(Errors(a), "-113,\"Undefined header\"");  // "E?" alone, not the rest of "*ESE?"
    EXPECT_EQ(Ask(a, "*STB?\n"), "+0\n");
}

TEST_F(ExecLoop, ClientLeavingDuringALargeReplyReleasesTheSharedBuffer) {
    ASSERT_EQ(SharedBufInit(), 0);
    auto* buf = static_cast<uint8_t*>(SharedBufClaim());
    ASSERT_NE(buf, nullptr);
    a.ifc.parse->hdrFlags = kHdrQuery | kHdrEnd;
    a.ifc.parse->state = kParseDeferred;
    a.ifc.deferredState = 1;
    a.ifc.deferredData = buf;
    a.ifc.deferredLen = 100000;
    g_reading = &a;
    scpi::ChannelPass(&a.ifc);  // queued and committed, not sent: the client is gone
    ASSERT_EQ(a.ifc.deferredState, 2u);
    scpi::ChannelDropSession(&a.ifc);
    EXPECT_EQ(a.ifc.deferredState, 0u);
    EXPECT_EQ(g_port.txq.committed, 0);  // nothing of it waits for the next client
    EXPECT_EQ(SharedBufClaim(), buf);
    core::SharedBufFree();
    EXPECT_EQ(Ask(a, "*STB?\n"), "+0\n");
}

TEST_F(ExecLoop, DroppingAPostedCommandWaitsForItsCompletion) {
    g_reading = &a;
    a.input = "*ESE 64\n";
    scpi::ChannelPass(&a.ifc);
    ASSERT_EQ(a.ifc.parse->state, static_cast<uint32_t>(kParsePosted));
    std::thread menu([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        MenuThread_Pass();
    });
    scpi::ChannelDropSession(&a.ifc);  // returns only once the menu/control thread is done with it
    menu.join();
    EXPECT_EQ(a.ifc.parse->state, static_cast<uint32_t>(kParseHeader));
    EXPECT_EQ(scpiEseGet(a.ifc.status), 64);
    SysMsg msg{};
    EXPECT_EQ(MsgQueueRecv(&msg, kMsgCompletionBase + long{kChanLan}), -1);  // nothing left for the next one
}

// A set command the menu/control thread cannot run (no channel context to run it with) completes as
// failed; one it never takes is given up after the channel's longest wait and does not run later.
// Either way the command reports "-310" and the channel serves the next client.
TEST_F(ExecLoop, SetCommandThatIsDroppedOrNeverTakenFailsAndTheChannelGoesOn) {
    const ScpiHandoverOps* ops = g_ScpiHandoverOps.exchange(nullptr);
    Send(a, "*ESE 64\n");
    g_ScpiHandoverOps.store(ops);
    EXPECT_EQ(Errors(a), "-310,\"System error\"");
    EXPECT_EQ(Ask(a, "*ESE 16;*ESE?\n"), "+16\n");

    plat::SetTimeScale(1000);
    g_reading = &a;
    a.input += "*ESE 32\n";
    scpi::ChannelPass(&a.ifc);
    ASSERT_EQ(a.ifc.parse->state, static_cast<uint32_t>(kParsePosted));
    std::atomic<bool> returned{false};
    std::thread client([&] {
        scpi::ChannelDropSession(&a.ifc);
        returned.store(true);
    });
    for (int i = 0; i < 500 && !returned.load(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(returned.load()) << "the channel still waits for a command nobody took";
    while (!returned.load()) {  // lets the waiting channel go all the same
        SysMsg failed{};
        failed.word0 = 1;
        MsgQueueSend(&failed, kMsgCompletionBase + long{kChanLan});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    client.join();
    plat::SetTimeScale(1);
    EXPECT_EQ(Errors(a), "-310,\"System error\"");
    MenuThread_Pass();  // takes the withdrawn message: it must not run
    EXPECT_EQ(Ask(a, "*ESE?\n"), "+16\n");
}

TEST_F(ExecLoop, RecognisedCommandSwitchesTheLocalPanelToRemoteExceptRlState) {
    a.ifc.parse->state = kParseExecute;
    a.ifc.cmd->cmdId = 189;
    EXPECT_EQ(EnterRemoteOnCommand(&a.ifc), 0u);
    EXPECT_EQ(RemoteStateGet(), static_cast<uint32_t>(kRemoteLocal));
    a.ifc.cmd->cmdId = 5;
    EXPECT_EQ(EnterRemoteOnCommand(&a.ifc), 1u);
    EXPECT_EQ(RemoteStateGet(), static_cast<uint32_t>(kRemoteRemote));
    a.ifc.parse->state = kParseHeader;
}

TEST(ScpiFormatInt, Modes) {
    struct Case {
        int32_t value;
        uint32_t mode;
        const char* text;
    };
    const Case cases[] = {
        {-1234, 0x80, "-1.234"},
        {1234, 0x80, "+1.234"},
        {5, 0, "0.005"},
        {123456, 0, "123.456"},
        {0, 1, "0"},
        {-42, 1, "-42"},
        {7, 0x81, "+7"},
        {0, 0x81, "+0"},
        {-2147483647 - 1, 0x81, "-2147483648"},
        {255, 2, "000000FF"},
        {-1, 2, "FFFFFFFF"},
        {-255, 0x82, "-000000FF"},
    };
    for (const Case& c : cases) {
        char buf[24];
        int n = scpiFormatInt(buf, c.value, c.mode);
        EXPECT_STREQ(buf, c.text) << c.value << " mode " << c.mode;
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.text)));
    }
}

}  // namespace
