#pragma once
// The client side of a serial or USB stand-in of a running controller (the nodes listed in
// <root>/var/run/ports), raw and without blocking reads.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "tests/support/controller_process.h"

namespace testsupport {

// The client side of a node from the root's ports list, once the node is there (at most ms); "" when none.
inline std::string PtyClientPath(const std::string& root, const std::string& node, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        std::istringstream ports(FileText(root + "/var/run/ports"));
        for (std::string name, path; ports >> name >> path;)
            if (name == node) return path;
        if (std::chrono::steady_clock::now() > end) return "";
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

class PtyClient {
  public:
    explicit PtyClient(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        termios t{};
        if (fd_ < 0 || tcgetattr(fd_, &t) != 0) return;
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~PtyClient() {
        if (fd_ >= 0) close(fd_);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;
    bool Open() const { return fd_ >= 0; }
    bool Send(const std::string& bytes) {
        return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // As much of bytes as the line takes now; the count taken.
    size_t SendSome(std::string_view bytes) {
        const ssize_t n = write(fd_, bytes.data(), bytes.size());
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    // Whether the line has room for more within ms milliseconds.
    bool Writable(int ms) {
        pollfd p{fd_, POLLOUT, 0};
        return poll(&p, 1, ms) > 0 && (p.revents & POLLOUT) != 0;
    }
    // The next line without its line feed; "" when none is complete within timeoutMs.
    std::string ReadLine(int timeoutMs = 5000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const size_t lf = pending_.find('\n');
            if (lf != std::string::npos) {
                std::string line = pending_.substr(0, lf);
                pending_.erase(0, lf + 1);
                return line;
            }
            if (std::chrono::steady_clock::now() > end) return "";
            Fill(10, 1 << 16);
        }
    }
    // Up to count bytes that arrive within ms milliseconds; nothing beyond them is read.
    std::string ReadBytes(size_t count, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (pending_.size() < count && std::chrono::steady_clock::now() < end)
            Fill(10, count - pending_.size());
        std::string got = pending_.substr(0, count);
        pending_.erase(0, got.size());
        return got;
    }
    // Everything that arrives within ms milliseconds, with what was pending.
    std::string ReadFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end)
            Fill(10, 1 << 16);
        std::string all;
        all.swap(pending_);
        return all;
    }
    std::string Ask(const std::string& message, int timeoutMs = 5000) {
        Send(message + "\n");
        return ReadLine(timeoutMs);
    }
    // The channel opens its port once the stored settings are loaded, perhaps after the LAN socket
    // listens, and drops what came before: the query is asked again until it is answered (bounded).
    std::string AskUntilAnswered(const std::string& message, int ms = 6000) {
        std::string reply;
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
             reply.empty() && std::chrono::steady_clock::now() < end;)
            reply = Ask(message, 300);
        ReadFor(200);  // the answers to the asks the closed port kept
        return reply;
    }

  private:
    void Fill(int ms, size_t most) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return;
        char buf[1 << 16];
        const ssize_t n = read(fd_, buf, std::min(sizeof buf, most));
        if (n > 0) pending_.append(buf, static_cast<size_t>(n));
    }
    int fd_;
    std::string pending_;
};

}  // namespace testsupport
