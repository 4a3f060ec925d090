// The remote port layer: replies are staged, committed and transmitted through a descriptor, and the
// 1024-byte copy ring and the 64-entry table bound what one message may stage; opening device ports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/host/device_node.h"
#include "scpi/channels/remote_port.h"
#include "tests/support/temp_root.h"

namespace {

// A port writing into a pipe (a device port) or, with the LAN port's path, sending on a packet socket
// (one record per send).
class Port : public ::testing::Test {
  protected:
    void Open(const char* path) {
        int fds[2];
        if (std::string(path) == kPortSocketPath) {
            ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds), 0);
            socket_ = true;
        } else {
            ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
        }
        rd_ = fds[0];
        ASSERT_EQ(scpi::PortInit(&port_, path), 0);
        port_.fd = fds[1];
        port_.isOpen = 1;
    }
    void SetUp() override { Open("/dev/ttyS1"); }
    void TearDown() override {
        close(port_.fd);
        scpi::PortDeinit(&port_);
        close(rd_);
    }
    int Put(const std::string& s, int32_t mode = kPortCopy) {
        return PortWrite(&port_, s.data(), static_cast<uint32_t>(s.size()), mode);
    }
    int Op(int32_t mode) { return PortWrite(&port_, nullptr, 0, mode); }
    // Transmits all that is committed; what arrived, records joined with "|".
    std::string SendAll() {
        while (Op(kPortTransmit) > 0) {
        }
        std::string out;
        char buf[4096];
        for (ssize_t n; (n = read(rd_, buf, sizeof(buf))) > 0;)
            out += (out.empty() || !socket_ ? "" : "|") + std::string(buf, static_cast<size_t>(n));
        return out;
    }
    RemotePort port_{};
    int rd_ = -1;
    bool socket_ = false;
};

TEST_F(Port, StagingLimitsOfOneMessage) {
    // A second large reply does not fit the ring: refused, the queue as it was.
    const std::string a(600, 'a');
    EXPECT_EQ(Put(a), 600);
    EXPECT_EQ(Put(std::string(600, 'b')), -1);
    EXPECT_EQ(port_.txq.staged, 1);
    EXPECT_EQ(port_.txq.ring.used, 600);
    // A discard gives the ring back.
    EXPECT_EQ(Put(std::string(300, 'y'), kPortCopyEnd), 300);
    EXPECT_EQ(Op(kPortDiscard), 0);
    EXPECT_EQ(port_.txq.ring.used, 0);
    EXPECT_EQ(Put(a + "\n"), 601);
    EXPECT_GT(Op(kPortCommit), 0);
    EXPECT_EQ(SendAll(), a + "\n");
    EXPECT_EQ(port_.txq.ring.used, 0);
    // The entry table holds 64.
    const std::string d = "d";
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(Put(d, kPortByRef), 1) << i;
    EXPECT_EQ(Put(d, kPortByRef), -1);
    EXPECT_EQ(Put("x"), -1);
    Op(kPortCommit);
    EXPECT_EQ(SendAll(), std::string(64, 'd'));
    // Nothing to commit or send, a bad mode, no port, no data.
    EXPECT_EQ(Op(kPortCommit), -1);
    EXPECT_EQ(Op(kPortTransmit), -1);
    EXPECT_EQ(Op(9), -1);
    EXPECT_EQ(PortWrite(nullptr, "x", 1, kPortCopy), -1);
    EXPECT_EQ(PortWrite(&port_, nullptr, 5, kPortCopy), -1);
}

// A rollback drops what was staged since the mark, also the part a copy added to the entry the mark kept,
// and gives its room back; what the mark kept goes out.
TEST_F(Port, RollbackDropsWhatWasStagedSinceTheMark) {
    Put("ab");
    EXPECT_EQ(Op(kPortMark), 0);
    Put("cd");  // extends the kept entry
    Put("e", kPortByRef);
    Put("fg");
    EXPECT_EQ(Op(kPortRollback), 0);
    EXPECT_EQ(port_.txq.staged, 1);
    EXPECT_EQ(port_.txq.ring.used, 2);
    Put("x\n");
    EXPECT_EQ(Op(kPortRollback), 0);
    Put(";\n");
    Op(kPortCommit);
    EXPECT_EQ(SendAll(), "ab;\n");
    // A commit ends the mark: the next message's rollback drops all it staged.
    Put("yz");
    Op(kPortRollback);
    EXPECT_EQ(port_.txq.ring.used, 0);
    EXPECT_EQ(Op(kPortCommit), -1);
}

TEST_F(Port, CommittedRepliesWaitForRoomAndStagedOnesForTheirCommit) {
    Put("a");
    Op(kPortCommit);
    Put("b");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlCommitted, nullptr), 1);
    // A full descriptor keeps the entry for the next pass.
    const std::string filler(1 << 16, 'f');
    while (write(port_.fd, filler.data(), filler.size()) > 0) {
    }
    EXPECT_EQ(Op(kPortTransmit), -1);
    EXPECT_EQ(port_.txq.committed, 1);
    char buf[1 << 16];
    while (read(rd_, buf, sizeof buf) > 0) {
    }
    EXPECT_EQ(SendAll(), "a");
    Op(kPortCommit);
    EXPECT_EQ(SendAll(), "b");
}

TEST_F(Port, ClearOutputDropsEverythingAndCountersReadOnce) {
    Put("abc");
    Op(kPortCommit);
    EXPECT_EQ(SendAll(), "abc");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlTxCount, nullptr), 3);
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlTxCount, nullptr), 0);
    Put("def");
    Op(kPortCommit);
    Put("ghi");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlClearOutput, nullptr), 0);
    EXPECT_EQ(port_.txq.ring.used, 0);
    EXPECT_EQ(SendAll(), "");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlReserved, nullptr), 0);
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlReset, nullptr), 0);
    EXPECT_EQ(scpi::PortControl(&port_, 99, nullptr), -1);
}

TEST_F(Port, SocketGetsEveryCommittedEntryInOneSend) {
    TearDown();
    Open(kPortSocketPath);
    // Move the ring near its end (a staged byte keeps it from starting over), so that the next reply
    // wraps into two entries.
    Put(std::string(1000, 'a'));
    Op(kPortCommit);
    Put("x");
    EXPECT_EQ(Op(kPortTransmit), 1000);
    const std::string reply = std::string(60, 'b') + ";";
    static const char block[] = "#15hello";
    Put(reply);
    PortWrite(&port_, block, 8, kPortByRef);
    Put("\n");
    EXPECT_EQ(Op(kPortCommit), 4);  // two pieces of ring, a block, the end
    EXPECT_EQ(Op(kPortTransmit), 71);
    EXPECT_EQ(port_.txq.committed, 0);
    EXPECT_EQ(SendAll(), std::string(1000, 'a') + "|x" + reply + "#15hello\n");
    // A departed client is an error for the channel, not a signal that ends the process.
    close(rd_);
    rd_ = -1;
    Put("x");
    Op(kPortCommit);
    EXPECT_EQ(Op(kPortTransmit), -1);
}

// Device ports opened through the platform's stand-ins: plain ports keep the device's own terminal
// settings, terminal ports get theirs applied.
struct DeviceNodes {
    DeviceNodes() { EXPECT_EQ(plat::DeviceNodesStart(), 0); }
    ~DeviceNodes() { plat::DeviceNodesStop(); }
};

TEST(PortOpen, TerminalPortGetsItsSettingsApplied) {
    testsupport::TempRoot root;
    DeviceNodes nodes;
    RemotePort port{};
    ASSERT_EQ(scpi::PortInitTerminal(&port, "/dev/ttyGS0"), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    termios t{};
    ASSERT_EQ(tcgetattr(port.fd, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
    int fd = port.fd;
    EXPECT_EQ(scpi::PortOpen(&port), 1);  // opening again keeps the one descriptor
    EXPECT_EQ(port.fd, fd);
    EXPECT_EQ(scpi::PortClose(&port), 0);
    EXPECT_EQ(scpi::PortClose(&port), -1);
    // Settings given while closed are applied at the next open.
    cfsetospeed(&t, B115200);
    EXPECT_EQ(SerialApply(&port, &t), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    ASSERT_EQ(tcgetattr(port.fd, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));
    scpi::PortDeinit(&port);
}

TEST(PortOpen, PlainPortKeepsTheDevicesSettingsAndAMissingOneStaysClosed) {
    testsupport::TempRoot root;
    DeviceNodes nodes;
    int probe = plat::OpenDevice("/dev/ttyS1", O_RDWR | O_NOCTTY);
    termios before{};
    tcgetattr(probe, &before);
    RemotePort port{};
    ASSERT_EQ(scpi::PortInit(&port, "/dev/ttyS1"), 0);
    ASSERT_EQ(scpi::PortOpen(&port), 1);
    termios after{};
    tcgetattr(port.fd, &after);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
    // Serial settings given later are applied to the open line.
    termios t = before;
    cfsetospeed(&t, B115200);
    cfsetispeed(&t, B115200);
    EXPECT_EQ(SerialApply(&port, &t), 0);
    tcgetattr(port.fd, &after);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B115200));
    close(probe);
    scpi::PortDeinit(&port);
    // A missing device leaves its port closed.
    ASSERT_EQ(scpi::PortInit(&port, "/dev/qx_gpib"), 0);
    EXPECT_EQ(scpi::PortOpen(&port), 0);
    EXPECT_EQ(port.isOpen, 0u);
    scpi::PortDeinit(&port);
}

}  // namespace
