// The lookup of a websocket client's socket among the process's sockets, and the check before each send
// that its number is still that connection.
#include "remote/web/web_client_socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/tcp_client.h"

namespace {

// A listener on address:port (0: any port), or -1.
int ListenOn(const char* address, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(static_cast<uint16_t>(port));
    if (fd >= 0 && inet_pton(AF_INET, address, &at.sin_addr) == 1 &&
        bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 && listen(fd, 4) == 0)
        return fd;
    if (fd >= 0) close(fd);
    return -1;
}

int PortOf(int fd) {
    sockaddr_in at{};
    socklen_t size = sizeof at;
    return getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size) == 0 ? ntohs(at.sin_port) : 0;
}

// A peer that reaches two of the host's addresses from one port has two connections that differ only in
// the address it reached, which the lookup does not know: it finds neither. Alone, the connection is
// found (the peer's connection from the same port to another port of the host is not it); once its number
// is given to that other connection, the number is no longer the connection found.
TEST(WebClientSocketTest, APeerPortWithTwoConnectionsIsNotFoundAndAReusedNumberIsNotTheConnection) {
    const int first = ListenOn("127.0.0.1", 0);
    ASSERT_GE(first, 0);
    const int port = PortOf(first);
    const int second = ListenOn("127.0.0.2", port), third = ListenOn("127.0.0.1", 0);
    ASSERT_GE(second, 0);
    ASSERT_GE(third, 0);
    testsupport::TcpClient peer(port, "127.0.0.1", 0, "127.0.0.1");
    testsupport::TcpClient samePort(port, "127.0.0.1", peer.LocalPort(), "127.0.0.2");
    testsupport::TcpClient otherPort(PortOf(third), "127.0.0.1", peer.LocalPort(), "127.0.0.1");
    ASSERT_TRUE(peer.Connected() && samePort.Connected() && otherPort.Connected());
    const int own = accept(first, nullptr, nullptr), other = accept(second, nullptr, nullptr);
    const int elsewhere = accept(third, nullptr, nullptr);
    web::ClientSocket found;
    EXPECT_FALSE(web::FindClientSocket("127.0.0.1", peer.LocalPort(), port, &found));

    close(other);
    ASSERT_TRUE(web::FindClientSocket("127.0.0.1", peer.LocalPort(), port, &found));
    EXPECT_EQ(found.fd, own);
    EXPECT_TRUE(web::IsSameConnection(found));
    // The connection ends and its number goes to the peer's connection to the other port.
    ASSERT_EQ(dup2(elsewhere, own), own);
    EXPECT_FALSE(web::IsSameConnection(found));
    for (int fd : {first, second, third, own, elsewhere})
        close(fd);
}

}  // namespace
