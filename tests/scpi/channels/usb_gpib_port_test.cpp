// The USB device and USB-GPIB ports: the USB-TMC link-state rules, the class setting choosing the node
// of every operation, reading and transmitting on a node, and the device clear of a channel.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "core/system/config/iface_cfg.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/state/output_flags.h"
#include "panel/menu_thread.h"
#include "platform/host/clock.h"
#include "platform/host/device_node.h"
#include "platform/host/root.h"
#include "scpi/channels/ports/device_clear.h"
#include "scpi/channels/ports/device_port.h"
#include "scpi/channels/ports/gpib_channel.h"
#include "scpi/channels/ports/usb_dev_channel.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/commands/scpi_cmd_ids.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/temp_root.h"

namespace {

constexpr uint8_t kCdcClass = 1u << 4;

// {class, link word, remote state before} -> {link state, remote state after, indicator after}.
TEST(UsbLinkState, TmcAndCdcWords) {
    struct Case {
        bool cdc;
        uint32_t word;
        uint32_t before;
        int link;
        uint32_t after;
        bool indicator;
    };
    const Case cases[] = {
        {false, 0x0008, kRemoteRemote, 1, kRemoteRemote, true},   // byte 0 bit 3: device clear
        {false, 0x0100, kRemoteRemote, 2, kRemoteRemote, true},   // byte 1 bit 0: status byte asked
        {false, 0x0800, kRemoteRemote, 0, kRemoteLocal, false},   // go to local from remote state 1
        {false, 0x0800, kRemoteLocal, 0, kRemoteLocal, false},
        {false, 0x1000, kRemoteLocal, 0, kRemoteRemote, true},    // remote enable from local
        {false, 0x1000, 2, 0, 2, true},                           // only from local
        {false, 0x0800, 2, 0, 2, true},                           // only from remote state 1
        {false, 0x0004, kRemoteRemote, 0, kRemoteRemote, true},   // the CDC bit means nothing here
        {true, 0x0004, kRemoteRemote, 1, kRemoteRemote, true},    // CDC clear
        {true, 0x0808, kRemoteRemote, 0, kRemoteRemote, true},    // TMC bits mean nothing on CDC
    };
    for (const Case& c : cases) {
        RemoteStateSet(c.before);
        if (c.before == kRemoteLocal)
            OutputFlagClear(kOutFlagRemote);
        else
            OutputFlagSet(kOutFlagRemote);
        EXPECT_EQ(scpi::UsbDevLinkFromWord(c.cdc, c.word), c.link) << c.cdc << " " << c.word;
        EXPECT_EQ(RemoteStateGet(), c.after) << c.cdc << " " << c.word;
        EXPECT_EQ(OutputFlagTest(kOutFlagRemote), c.indicator) << c.cdc << " " << c.word;
    }
    RemoteStateSet(kRemoteLocal);
    OutputFlagClear(kOutFlagRemote);
}

// The two gadget nodes' stand-ins, a client on each: what the port writes arrives at the node the class
// setting named when it was written, and what a client sends is read from its node only.
TEST(UsbDevPort, ClassSettingMovesEveryOperation) {
    testsupport::TempRoot root;
    ASSERT_EQ(plat::DeviceNodesStart(), 0);
    const uint8_t saved = IfaceUsbByte(2);
    const ScpiIoOps& io = scpi::kUsbDevIoOps;
    ASSERT_EQ(io.init("USB", kChanUsbTmc), 0);
    auto client = [](const char* node) {
        return open(plat::DeviceClientPath(node).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    };
    const int tmc = client("usbtmc0"), cdc = client("ttyGS0");
    ASSERT_GE(tmc, 0);
    ASSERT_GE(cdc, 0);
    // What reaches fd within `ms` (the bridge thread carries it), up to `want` bytes.
    auto receive = [](int fd, size_t want, int ms) {
        std::string got;
        for (const uint64_t until = plat::NowMs() + static_cast<uint64_t>(ms);
             got.size() < want && plat::NowMs() < until;) {
            pollfd p{fd, POLLIN, 0};
            char buf[64];
            if (poll(&p, 1, 10) <= 0) continue;
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n > 0) got.append(buf, static_cast<size_t>(n));
        }
        return got;
    };
    for (const bool toCdc : {false, true, false}) {
        IfaceUsbByteSet(2, toCdc ? kCdcClass : 0);
        EXPECT_EQ(scpi::UsbDevIsCdc(), toCdc);
        EXPECT_EQ(io.open(), 1);
        EXPECT_EQ(io.write("R\n", 2, kPortCopyEnd), 2);
        EXPECT_EQ(io.write(nullptr, 0, kPortCommit), 1);
        EXPECT_EQ(io.control(kPortCtlCommitted, 0), 1);
        EXPECT_GT(io.write(nullptr, 0, kPortTransmit), 0);
        EXPECT_EQ(receive(toCdc ? cdc : tmc, 2, 1000), "R\n") << toCdc;
        ASSERT_EQ(write(toCdc ? cdc : tmc, "Q", 1), 1);
        char c = 0;
        EXPECT_EQ(io.read(&c, 1, 0), 0);  // only "how" 1 reads
        int n = 0;
        for (const uint64_t until = plat::NowMs() + 1000; n == 0 && plat::NowMs() < until; plat::SleepMs(1))
            n = io.read(&c, 1, 1);
        EXPECT_EQ(n, 1) << toCdc;
        EXPECT_EQ(c, 'Q');
        EXPECT_EQ(io.control(kPortCtlRxCount, 0), 1);
        // Nothing went to the other node.
        EXPECT_EQ(receive(toCdc ? tmc : cdc, 1, 50), "") << toCdc;
    }
    EXPECT_EQ(io.close(), 0);
    char c;
    EXPECT_EQ(io.read(&c, 1, 1), -1);  // a closed port reads nothing
    // The panel's class change closes the port of the class in force, and that one only.
    IfaceUsbByteSet(2, kCdcClass);
    ASSERT_EQ(io.open(), 1);
    IfaceUsbByteSet(2, 0);
    ASSERT_EQ(io.open(), 1);
    scpi::UsbDevPortClose();
    EXPECT_EQ(io.control(kPortCtlConnected, 0), 0) << "USB-TMC closed";
    IfaceUsbByteSet(2, kCdcClass);
    EXPECT_EQ(io.control(kPortCtlConnected, 0), 1) << "USB-CDC left open";
    EXPECT_EQ(io.close(), 0);
    io.deinit();
    close(tmc);
    close(cdc);
    plat::DeviceNodesStop();
    IfaceUsbByteSet(2, saved);
}

// The USB device channel stepped as its thread steps it, with the class given and a client on that node's
// stand-in. No menu/control thread runs: a set command stays with it until the test completes it.
class UsbDevChannel : public ::testing::Test {
  protected:
    void Start(bool cdc) {
        ASSERT_EQ(plat::DeviceNodesStart(), 0);
        IfaceUsbByteSet(2, cdc ? kCdcClass : 0);
        scpi::UsbDevChannelStart();
        scpiStatusSetBits(g_ScpiIfUsb.status, kChanEnabled);
        client_ =
            open(plat::DeviceClientPath(cdc ? "ttyGS0" : "usbtmc0").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(client_, 0);
        Run(20);
        ASSERT_EQ(g_ScpiIfUsb.io.control(kPortCtlConnected, 0), 1);
    }
    void TearDown() override {
        g_ScpiIfUsb.io.close();
        scpi::UsbDevChannelStop();
        if (client_ >= 0) close(client_);
        plat::DeviceNodesStop();
        IfaceUsbByteSet(2, saved_);
    }
    // Passes about once a millisecond for `ms`, collecting what reaches the client.
    void Run(uint64_t ms) {
        for (const uint64_t until = plat::NowMs() + ms; plat::NowMs() < until; plat::SleepMs(1)) {
            scpi::UsbDevPass(pass_++);
            char buf[64];
            const ssize_t n = read(client_, buf, sizeof buf);
            if (n > 0) got_.append(buf, static_cast<size_t>(n));
        }
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(write(client_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    static void HostClear() {
        std::string error;
        ASSERT_EQ(plat::DeviceEventCommand("usbdev", "clear", &error), 0) << error;
    }
    testsupport::TempRoot root_;
    scpitest::MenuEnv env_;
    const uint8_t saved_ = IfaceUsbByte(2);
    int client_ = -1;
    uint32_t pass_ = 1;
    std::string got_;
};

// A host's clear while the reply of an unfinished message is staged discards that reply and is
// acknowledged.
TEST_F(UsbDevChannel, ACdcClearDiscardsTheStagedReplyAndIsAcknowledged) {
    ASSERT_NO_FATAL_FAILURE(Start(true));
    Send("*IDN?;");
    Run(100);
    ASSERT_EQ(got_, "");  // staged until the message ends
    HostClear();
    Run(100);
    EXPECT_NE(root_.Read("/var/log/devices.log").find("ttyGS0 0x40046701\n"), std::string::npos);
    // The end of the cleared message commits nothing; the next message is answered alone.
    Send("\n*STB?\n");
    Run(200);
    EXPECT_EQ(got_, "+0\n");
}

// A USB-TMC clear while a set command is with the menu/control thread: once it completes, the reply staged
// before it is not sent.
TEST_F(UsbDevChannel, ATmcClearDuringASetCommandDropsTheMessageAtItsCompletion) {
    ASSERT_NO_FATAL_FAILURE(Start(false));
    Send("*ESE?;*ESE 4\n");
    Run(100);
    ASSERT_EQ(g_ScpiIfUsb.parse->state, static_cast<uint32_t>(kParsePosted));
    HostClear();
    Run(50);
    for (int guard = 0; guard < 1000 && g_ScpiIfUsb.parse->state == kParsePosted; ++guard) {
        MenuThread_Pass();
        Run(1);
    }
    Run(100);
    EXPECT_EQ(got_, "");
    Send("*ESE?\n");
    Run(100);
    EXPECT_EQ(got_, "+4\n");
}

// A client that sends more queries than the transmit queue holds replies for and reads only later: the
// channel takes the next message only once the replies before it are gone, and every reply arrives.
TEST_F(UsbDevChannel, AClientThatReadsLateGetsEveryReply) {
    ASSERT_NO_FATAL_FAILURE(Start(false));
    scpitest::FillLine(scpi::UsbDevPort()->fd);
    constexpr int kQueries = 100;  // their replies need more entries than the queue has
    std::string queries, want;
    for (int i = 0; i < kQueries; ++i) {
        queries += "*ESE?\n";
        want += "+0\n";
    }
    Send(queries);
    for (int i = 0; i < 300; ++i) {
        scpi::UsbDevPass(pass_++);
        plat::SleepMs(1);
    }
    EXPECT_EQ(g_ScpiIfUsb.io.control(kPortCtlCommitted, 0), 1);
    EXPECT_EQ(scpiErrorQueueCount(&g_ScpiIfUsb.errq), 0);
    for (int i = 0; i < 100 && std::count(got_.begin(), got_.end(), '\n') < kQueries; ++i)
        Run(100);
    got_.erase(0, got_.find_first_not_of('f'));
    EXPECT_EQ(got_, want);
    EXPECT_EQ(scpiErrorQueueCount(&g_ScpiIfUsb.errq), 0);
}

// A port on one end of a socket pair, the test on the other.
class NodeRules : public ::testing::Test {
  protected:
    void SetUp() override {
        signal(SIGPIPE, SIG_IGN);
        int sv[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, sv), 0);
        ASSERT_EQ(scpi::PortInit(&port, "/dev/ttyGS0"), 0);
        port.fd = sv[0];
        port.isOpen = 1;
        peer = sv[1];
    }
    void TearDown() override {
        if (port.isOpen) close(port.fd);
        port.isOpen = 0;
        scpi::PortDeinit(&port);
        if (peer >= 0) close(peer);
    }
    int Read(bool eioCloses = true) { return scpi::DevicePortRead(&port, buf, sizeof buf, eioCloses); }
    RemotePort port{};
    int peer = -1;
    char buf[16];
};

TEST_F(NodeRules, AQuietNodeStaysOpenAGoneOneCloses) {
    errno = ENODEV;  // left by something else: a read that gives data or finds nothing ignores it
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(port.isOpen, 1u);
    ASSERT_EQ(write(peer, "ab", 2), 2);
    errno = EBADF;
    EXPECT_EQ(Read(), 2);
    EXPECT_EQ(port.rxCount, 2);
    EXPECT_EQ(port.isOpen, 1u);
    close(peer);  // end of file
    peer = -1;
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(port.isOpen, 0u);
    EXPECT_EQ(Read(), -1);
}

TEST_F(NodeRules, ErrorsThatSayTheNodeHasGone) {
    // A pseudo-terminal whose other side has gone reads EIO: the USB device port closes, GPIB does not.
    for (const bool eioCloses : {false, true}) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master) | unlockpt(master), 0);
        close(open(ptsname(master), O_RDWR | O_NOCTTY));
        close(port.fd);
        port.fd = master;
        port.isOpen = 1;
        EXPECT_EQ(Read(eioCloses), 0);
        EXPECT_EQ(port.isOpen, eioCloses ? 0u : 1u) << eioCloses;
        if (port.isOpen) close(master);
        port.isOpen = 0;
    }
    // A descriptor that is no longer there (EBADF).
    int sv[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
    close(sv[0]);
    close(sv[1]);
    port.fd = sv[0];
    port.isOpen = 1;
    EXPECT_EQ(Read(false), 0);
    EXPECT_EQ(port.isOpen, 0u);
}

TEST_F(NodeRules, AFullNodeKeepsTheReplyARefusingOneCloses) {
    int small = 4096;
    setsockopt(port.fd, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    const std::string filler(1000, 'f');
    while (write(port.fd, filler.data(), filler.size()) > 0) {
    }
    ASSERT_EQ(PortWrite(&port, "*IDN\n", 5, kPortCopy), 5);
    ASSERT_EQ(PortWrite(&port, nullptr, 0, kPortCommit), 1);
    EXPECT_TRUE(scpi::DevicePortTransmit(&port));  // EAGAIN: try again next pass
    EXPECT_EQ(scpi::PortCommittedCount(&port), 1);
    char sink[4096];
    while (read(peer, sink, sizeof sink) > 0) {
    }
    EXPECT_TRUE(scpi::DevicePortTransmit(&port));
    EXPECT_EQ(scpi::PortCommittedCount(&port), 0);
    ASSERT_EQ(PortWrite(&port, "x\n", 2, kPortCopy), 2);
    ASSERT_EQ(PortWrite(&port, nullptr, 0, kPortCommit), 1);
    close(peer);
    peer = -1;
    EXPECT_FALSE(scpi::DevicePortTransmit(&port));  // EPIPE
}

class DeviceClearing : public ::testing::Test {
  protected:
    testsupport::TempRoot root;
    scpitest::MenuEnv env;
    scpitest::FakeChannel ch{kChanUsbTmc};
};

TEST_F(DeviceClearing, DropsCommittedAndStagedRepliesAndTheHalfReadCommand) {
    ch.Feed("*IDN?\n*ES");
    while (ch.inputPos < ch.input.size())
        ch.Pass();
    ASSERT_GT(scpi::PortCommittedCount(&ch.port), 0);
    ASSERT_EQ(ch.ifc.io.write("staged", 6, kPortCopy), 6);
    scpi::DeviceClear(&ch.ifc);
    EXPECT_EQ(ch.Transmit(), "");
    EXPECT_EQ(ch.parse.state, static_cast<uint32_t>(kParseHeader));
    EXPECT_EQ(ch.Exec("*STB?\n"), "+0\n");  // no "*ES" before it, nothing staged left
}

TEST_F(DeviceClearing, ALargeReplyIsDroppedBeforeItsBufferGoesToAnotherChannel) {
    uint8_t* buf = ch.PrepareLargeReply(5000);
    ASSERT_NE(buf, nullptr);
    ch.cmd->cmdId = scpi::kCmdDataSeqDataPres;
    // The SEQ transfer has lent memory 9: its copy is what memory 9 was.
    root.Write("/mnt/tst/seq/SEQ9.SEQ", "present");
    root.Write("/mnt/tst/seq/SEQ9_tmp.SEQ", "stored");
    ch.Pass();  // queued by reference and committed
    ASSERT_EQ(ch.ifc.deferredState, 2u);
    scpi::DeviceClear(&ch.ifc);
    EXPECT_EQ(ch.ifc.deferredState, 0u);
    EXPECT_EQ(SharedBufClaim(), buf);  // released; another channel fills it
    std::memset(buf, 'o', 5000);
    EXPECT_EQ(ch.Transmit(), "");
    core::SharedBufFree();
    // Memory 9 is put back.
    EXPECT_EQ(root.Read("/mnt/tst/seq/SEQ9.SEQ"), "stored");
    EXPECT_EQ(root.Read("/mnt/tst/seq/SEQ9_tmp.SEQ"), "");
    EXPECT_EQ(ch.Exec("*STB?\n"), "+0\n");
}

}  // namespace
