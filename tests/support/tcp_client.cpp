#include "tests/support/tcp_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point until) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

TcpClient::TcpClient(int port, int timeoutMs) {
    Connect(port, timeoutMs, 0);
}

TcpClient::TcpClient(int port, int receiveBytes, int sendTimeoutMs) {
    Connect(port, 5000, receiveBytes);
    const timeval wait{sendTimeoutMs / 1000, (sendTimeoutMs % 1000) * 1000};
    if (fd_ >= 0) setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
}

TcpClient::TcpClient(int port, const char* fromAddress, int fromPort, const char* toAddress) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_port = htons(static_cast<uint16_t>(fromPort));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, fromAddress, &from.sin_addr) == 1 &&
        inet_pton(AF_INET, toAddress, &to.sin_addr) == 1 &&
        bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0 &&
        connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
        fd_ = fd;
        return;
    }
    close(fd);
}

int TcpClient::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (fd_ < 0 || getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
    return ntohs(local.sin_port);
}

void TcpClient::Connect(int port, int timeoutMs, int receiveBytes) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (;;) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return;
        if (receiveBytes > 0) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBytes, sizeof receiveBytes);
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            fd_ = fd;
            return;
        }
        close(fd);
        if (MsLeft(until) == 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TcpClient::~TcpClient() {
    Close();
}

bool TcpClient::Send(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return fd_ >= 0;
}

int TcpClient::Fill(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (fd_ < 0 || poll(&p, 1, timeoutMs) <= 0) return -1;
    char buf[4096];
    ssize_t n = recv(fd_, buf, sizeof buf, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return 1;
    if (n <= 0) return 0;
    pending_.append(buf, static_cast<size_t>(n));
    return 1;
}

std::string TcpClient::ReadLine(int timeoutMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t lf;
    while ((lf = pending_.find('\n')) == std::string::npos && Fill(MsLeft(until)) > 0) {
    }
    std::string line = pending_.substr(0, lf == std::string::npos ? lf : lf + 1);
    pending_.erase(0, line.size());
    return line;
}

std::string TcpClient::ReadBytes(size_t count, int timeoutMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pending_.size() < count && Fill(MsLeft(until)) > 0) {
    }
    std::string out = pending_.substr(0, count);
    pending_.erase(0, out.size());
    return out;
}

std::string TcpClient::ReadFor(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (MsLeft(until) > 0 && Fill(MsLeft(until)) > 0) {
    }
    std::string out;
    out.swap(pending_);
    return out;
}

bool TcpClient::WaitClosed(int timeoutMs) {
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int rc;
    while ((rc = Fill(MsLeft(until))) > 0)
        pending_.clear();
    return rc == 0;
}

void TcpClient::Abort() {
    if (fd_ < 0) return;
    linger l{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    Close();
}

void TcpClient::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    pending_.clear();
}

int Listener(int port, bool sharePort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (sharePort) setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(fd, 1) == 0)
        return fd;
    if (fd >= 0) close(fd);
    return -1;
}

}  // namespace testsupport
