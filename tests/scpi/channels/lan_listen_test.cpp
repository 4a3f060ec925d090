#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/host/options.h"
#include "scpi/channels/ports/lan_channel.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_root.h"

namespace {

// A listener that should not exist is closed again, so that it takes no connection of a later step.
int Refused(int fd) {
    if (fd > 0) close(fd);
    return fd;
}

// Waits at most a second for `fd` to become readable.
bool Readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 1000) == 1;
}

int BoundPort(int fd) {
    sockaddr_in addr{};
    socklen_t length = sizeof addr;
    return getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0 ? ntohs(addr.sin_port) : -1;
}

// A port another program listens on is not shared, also when that one would share it; one whose last
// connection is still in TIME_WAIT is taken again.
TEST(LanListen, RefusesAPortInUseAndTakesOneInTimeWait) {
    testsupport::TempRoot root;
    const int port = plat::Port(scpi::kLanRestartPort);
    const int foreign = testsupport::Listener(port, true);  // another program's, that would share it
    ASSERT_GE(foreign, 0);
    errno = 0;
    EXPECT_EQ(Refused(scpi::LanListen(port)), 0);
    EXPECT_EQ(errno, EADDRINUSE);
    close(foreign);

    // The listener's side closes first, so its end of the connection stays in TIME_WAIT.
    const int listener = scpi::LanListen(port);
    ASSERT_GT(listener, 0);
    testsupport::TcpClient client(port, 0);
    ASSERT_TRUE(client.Connected());
    ASSERT_TRUE(Readable(listener));
    const int served = accept(listener, nullptr, nullptr);
    ASSERT_GE(served, 0);
    close(served);
    close(listener);
    EXPECT_TRUE(client.WaitClosed(1000));  // the server's FIN has arrived
    client.Close();
    const int again = scpi::LanListen(port);
    EXPECT_GT(again, 0) << "errno " << errno;
    if (again > 0) close(again);
}

// Both ports or neither: a start that finds one taken keeps nothing, and the first listeners of the
// LAN threads are the ones taken at start.
TEST(LanListen, PortsClaimedAtStartAreHandedOverOnce) {
    testsupport::TempRoot root;
    const int scpiPort = plat::Port(scpi::kLanScpiPort), restartPort = plat::Port(scpi::kLanRestartPort);
    const int foreign = testsupport::Listener(restartPort, true);
    ASSERT_GE(foreign, 0);
    errno = 0;
    const int busy = scpi::LanClaimPorts();
    EXPECT_EQ(busy, restartPort);
    EXPECT_EQ(errno, EADDRINUSE);
    close(foreign);
    if (busy == 0) {
        Refused(scpi::LanTakeListener(scpiPort));
        Refused(scpi::LanTakeListener(restartPort));
    }
    const int scpiFree = scpi::LanListen(scpiPort);
    EXPECT_GT(scpiFree, 0) << "the SCPI port is still held";
    if (scpiFree > 0) close(scpiFree);

    ASSERT_EQ(scpi::LanClaimPorts(), 0);
    EXPECT_EQ(Refused(scpi::LanListen(scpiPort)), 0);
    EXPECT_EQ(Refused(scpi::LanListen(restartPort)), 0);
    for (int port : {scpiPort, restartPort}) {
        const int claimed = scpi::LanTakeListener(port);
        ASSERT_GT(claimed, 0);
        EXPECT_EQ(BoundPort(claimed), port);
        // Taken once: the next call makes a listener of its own, which the first still keeps out.
        EXPECT_EQ(Refused(scpi::LanTakeListener(port)), 0);
        close(claimed);
        const int next = scpi::LanTakeListener(port);
        EXPECT_GT(next, 0);
        if (next > 0) close(next);
    }
}

// The SCPI listener's queue holds a burst of 30 connections before any is accepted (a queue of a few
// left the rest of the burst to the SYN retries of a second and more).
TEST(LanListen, TheQueueHoldsABurstOfConnections) {
    testsupport::TempRoot root;
    const int listener = scpi::LanListen(plat::Port(scpi::kLanScpiPort));
    ASSERT_GT(listener, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(plat::Port(scpi::kLanScpiPort)));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    constexpr int kBurst = 30;
    std::vector<pollfd> burst;
    for (int i = 0; i < kBurst; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ASSERT_GE(fd, 0);
        connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
        burst.push_back({fd, POLLOUT, 0});
    }
    // Each connection is made by the kernel alone, with nobody accepting: wait until all are.
    int made = 0;
    for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         made < kBurst && std::chrono::steady_clock::now() < until;) {
        made = 0;
        for (pollfd& p : burst) {
            p.revents = 0;
            int error = -1;
            socklen_t size = sizeof error;
            made += poll(&p, 1, 0) == 1 && getsockopt(p.fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
                    error == 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(made, kBurst);
    for (const pollfd& p : burst)
        close(p.fd);
    close(listener);
}

// Clients that connected and left without a word fill no place in line: a client that comes after a burst
// of them, while the session of the first is still to end, waits its turn instead of being closed.
TEST(LanListen, ClientsThatLeftWithoutAWordGiveTheirPlaceInLine) {
    testsupport::TempRoot root;
    ASSERT_EQ(scpi::kLanIoOps.init(nullptr, 0), 0);
    ASSERT_GT(scpi::kLanIoOps.open(), 0);
    for (int i = 0; i < 30; ++i) {
        testsupport::TcpClient gone(plat::Port(scpi::kLanScpiPort), 0);
        ASSERT_TRUE(gone.Connected());
        gone.Close();
        scpi::LanAcceptOne();
        ASSERT_TRUE(scpi::LanClientConnected()) << i;
    }
    testsupport::TcpClient next(plat::Port(scpi::kLanScpiPort), 0);
    ASSERT_TRUE(next.Connected());
    scpi::LanAcceptOne();
    EXPECT_FALSE(next.WaitClosed(1000)) << "the client after the burst was turned away";
    scpi::kLanIoOps.close();
    EXPECT_TRUE(next.WaitClosed(1000));
    scpi::kLanIoOps.deinit();
    const int free = scpi::LanListen(plat::Port(scpi::kLanScpiPort));
    EXPECT_GT(free, 0) << "the listener was kept";
    if (free > 0) close(free);
}

}  // namespace
