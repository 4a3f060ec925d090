#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace
