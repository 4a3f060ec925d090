// The remote port layer: replies are staged, committed and transmitted through a descriptor, and the
// 1024-byte copy ring and the 64-entry table bound what one message may stage.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "scpi/remote_port.h"

namespace {

class Port : public ::testing::Test {
  protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(pipe2(fds, O_NONBLOCK), 0);
        rd_ = fds[0];
        ASSERT_EQ(scpi::PortInit(&port_, "/dev/ttyS1"), 0);
        port_.fd = fds[1];
        port_.isOpen = 1;
    }
    void TearDown() override {
        scpi::PortDeinit(&port_);
        close(rd_);
    }
    int Stage(const std::string& s, int32_t mode = kPortCopy) {
        return PortWrite(&port_, s.data(), static_cast<uint32_t>(s.size()), mode);
    }
    std::string SendAll() {
        while (PortWrite(&port_, nullptr, 0, kPortTransmit) > 0) {
        }
        std::string out;
        char buf[4096];
        ssize_t n;
        while ((n = read(rd_, buf, sizeof(buf))) > 0)
            out.append(buf, static_cast<size_t>(n));
        return out;
    }
    RemotePort port_{};
    int rd_ = -1;
};

TEST_F(Port, SecondLargeReplyOfOneMessageIsRefused) {
    const std::string a(600, 'a'), b(600, 'b');
    EXPECT_EQ(Stage(a), 600);
    EXPECT_EQ(Stage(b), -1);
    // The refusal left the queue as it was.
    EXPECT_EQ(port_.txq.staged, 1);
    EXPECT_EQ(port_.txq.ring.used, 600);
    EXPECT_EQ(Stage("\n"), 1);
    EXPECT_GT(PortWrite(&port_, nullptr, 0, kPortCommit), 0);
    EXPECT_EQ(SendAll(), a + "\n");
    EXPECT_EQ(port_.txq.ring.used, 0);
}

TEST_F(Port, DiscardGivesTheRingBack) {
    EXPECT_EQ(Stage(std::string(300, 'x')), 300);
    EXPECT_EQ(Stage(std::string(300, 'y'), kPortCopyEnd), 300);
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, kPortDiscard), 0);
    EXPECT_EQ(port_.txq.staged, 0);
    EXPECT_EQ(port_.txq.ring.used, 0);
    const std::string big(1000, 'z');
    EXPECT_EQ(Stage(big), 1000);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), big);
}

TEST_F(Port, ReplyAcrossTheRingEndWrapsIntoTwoEntriesInOrder) {
    Stage(std::string(700, '1'));
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), std::string(700, '1'));
    // The ring is empty again and starts over: fill to 1000, send, then a reply crossing the end.
    Stage(std::string(1000, '2'));
    Stage("", kPortCopy);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    // Keep the write position at 1000 by leaving one committed byte unsent.
    Stage("3", kPortCopy);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, kPortTransmit), 1000);
    std::string crossing;
    for (int i = 0; i < 100; ++i)
        crossing += static_cast<char>('a' + i % 26);
    const uint32_t entriesBefore = port_.txq.committed;
    EXPECT_EQ(Stage(crossing), 100);
    EXPECT_EQ(port_.txq.staged, 2) << "split at the end of the ring";
    EXPECT_EQ(port_.txq.committed, static_cast<int32_t>(entriesBefore));
    PortWrite(&port_, nullptr, 0, kPortCommit);
    std::string out = SendAll();
    EXPECT_EQ(out.substr(0, 1000), std::string(1000, '2'));
    EXPECT_EQ(out.substr(1000), "3" + crossing);
}

TEST_F(Port, ContinuingCopiesMergeIntoOneEntry) {
    Stage("+1.0000");
    Stage(";");
    Stage("+2.0000");
    EXPECT_EQ(port_.txq.staged, 1);
    Stage("\n", kPortCopyEnd);
    EXPECT_EQ(port_.txq.staged, 1);
    EXPECT_EQ(port_.txq.entries[0].type, kTxCopyEnd);
    // After a closing copy a new reply starts its own entry.
    Stage("x");
    EXPECT_EQ(port_.txq.staged, 2);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), "+1.0000;+2.0000\nx");
}

TEST_F(Port, ReferencedDataIsSentWithoutCopying) {
    std::string big(5000, 'r');
    EXPECT_EQ(PortWrite(&port_, big.data(), 5000, kPortByRef), 5000);
    EXPECT_EQ(port_.txq.ring.used, 0);
    Stage("\n");
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), big + "\n");
}

TEST_F(Port, EntryTableHoldsSixtyFour) {
    std::string data = "d";
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(PortWrite(&port_, data.data(), 1, kPortByRef), 1) << i;
    EXPECT_EQ(PortWrite(&port_, data.data(), 1, kPortByRef), -1);
    EXPECT_EQ(Stage("x"), -1);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), std::string(64, 'd'));
}

TEST_F(Port, CommitAndTransmitNeedSomething) {
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, kPortCommit), -1);
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, kPortTransmit), -1);
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, 9), -1);
    EXPECT_EQ(PortWrite(nullptr, "x", 1, kPortCopy), -1);
    EXPECT_EQ(PortWrite(&port_, nullptr, 5, kPortCopy), -1);
}

TEST_F(Port, StagedRepliesStayUntilCommitted) {
    Stage("a");
    PortWrite(&port_, nullptr, 0, kPortCommit);
    Stage("b");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlCommitted, nullptr), 1);
    EXPECT_EQ(SendAll(), "a");
    EXPECT_EQ(port_.txq.staged, 1);
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), "b");
}

TEST_F(Port, FullDescriptorKeepsTheEntryForTheNextPass) {
    // Fill the pipe so that write() fails with EAGAIN.
    std::string filler(1 << 16, 'f');
    while (write(port_.fd, filler.data(), filler.size()) > 0) {
    }
    Stage("keep");
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(PortWrite(&port_, nullptr, 0, kPortTransmit), -1);
    EXPECT_EQ(port_.txq.committed, 1);
    char buf[1 << 16];
    while (read(rd_, buf, sizeof(buf)) > 0) {
    }
    EXPECT_EQ(SendAll(), "keep");
}

TEST_F(Port, ClearOutputDropsEverythingAndCountersReadOnce) {
    Stage("abc");
    PortWrite(&port_, nullptr, 0, kPortCommit);
    EXPECT_EQ(SendAll(), "abc");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlTxCount, nullptr), 3);
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlTxCount, nullptr), 0);
    Stage("def");
    PortWrite(&port_, nullptr, 0, kPortCommit);
    Stage("ghi");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlClearOutput, nullptr), 0);
    EXPECT_EQ(port_.txq.committed, 0);
    EXPECT_EQ(port_.txq.ring.used, 0);
    EXPECT_EQ(SendAll(), "");
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlReserved, nullptr), 0);
    EXPECT_EQ(scpi::PortControl(&port_, kPortCtlReset, nullptr), 0);
    EXPECT_EQ(scpi::PortControl(&port_, 99, nullptr), -1);
}

TEST(PortSocket, SocketPathTransmitsWithSend) {
    int sv[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
    RemotePort port{};
    ASSERT_EQ(scpi::PortInit(&port, "Socket"), 0);
    port.fd = sv[0];
    port.isOpen = 1;
    PortWrite(&port, "hello\n", 6, kPortCopy);
    PortWrite(&port, nullptr, 0, kPortCommit);
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortTransmit), 6);
    char buf[16] = {};
    EXPECT_EQ(read(sv[1], buf, sizeof(buf)), 6);
    EXPECT_STREQ(buf, "hello\n");
    // A departed client is an error for the channel, not a signal that ends the process.
    close(sv[1]);
    PortWrite(&port, "x", 1, kPortCopy);
    PortWrite(&port, nullptr, 0, kPortCommit);
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortTransmit), -1);
    scpi::PortDeinit(&port);
}

TEST(PortSocket, EveryCommittedEntryLeavesInOneSend) {
    // A packet socket keeps each send as one record.
    int sv[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv), 0);
    RemotePort port{};
    ASSERT_EQ(scpi::PortInit(&port, "Socket"), 0);
    port.fd = sv[0];
    port.isOpen = 1;
    // Move the ring near its end (a staged byte keeps it from starting over), so that the next reply
    // wraps into two entries.
    const std::string first(1000, 'a');
    PortWrite(&port, first.data(), 1000, kPortCopy);
    PortWrite(&port, nullptr, 0, kPortCommit);
    PortWrite(&port, "x", 1, kPortCopy);
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortTransmit), 1000);
    const std::string reply = std::string(60, 'b') + ";";
    static const char block[] = "#15hello";
    PortWrite(&port, reply.data(), static_cast<uint32_t>(reply.size()), kPortCopy);
    PortWrite(&port, block, 8, kPortByRef);
    PortWrite(&port, "\n", 1, kPortCopy);
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortCommit), 4);  // two pieces of ring, a block, the end
    EXPECT_EQ(PortWrite(&port, nullptr, 0, kPortTransmit), 71);
    EXPECT_EQ(port.txq.committed, 0);
    EXPECT_EQ(port.txq.ring.used, 0);
    char buf[2048];
    ASSERT_EQ(read(sv[1], buf, sizeof buf), 1000);
    ASSERT_EQ(read(sv[1], buf, sizeof buf), 71);
    EXPECT_EQ(std::string(buf, 71), "x" + reply + "#15hello\n");
    close(sv[1]);
    scpi::PortDeinit(&port);
}

TEST(PortTerminal, TerminalInitGivesRaw9600EightBits) {
    RemotePort port{};
    ASSERT_EQ(scpi::PortInitTerminal(&port, "/dev/ttyGS0"), 0);
    EXPECT_EQ(port.inUse.c_iflag, static_cast<tcflag_t>(BRKINT | IGNPAR));
    EXPECT_EQ(port.inUse.c_cflag, static_cast<tcflag_t>(B9600 | CS8 | CREAD | CLOCAL));
    EXPECT_EQ(port.inUse.c_lflag, 0u);
    EXPECT_EQ(port.inUse.c_cc[VMIN], 1);
    EXPECT_EQ(port.inUse.c_cc[VTIME], 0);
    EXPECT_STREQ(port.path, "/dev/ttyGS0");
    // Settings applied while closed are kept for the next open.
    termios t = port.inUse;
    t.c_cflag = B115200 | CS7 | CREAD | CLOCAL;
    EXPECT_EQ(SerialApply(&port, &t), 0);
    EXPECT_EQ(port.inUse.c_cflag, t.c_cflag);
    scpi::PortDeinit(&port);
}

}  // namespace
