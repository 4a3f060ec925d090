#include "remote/web/web_client_socket.h"

#include <arpa/inet.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <algorithm>

namespace web {
namespace {

bool Ends(int fd, sockaddr_in* local, sockaddr_in* peer) {
    socklen_t localSize = sizeof *local, peerSize = sizeof *peer;
    return getsockname(fd, reinterpret_cast<sockaddr*>(local), &localSize) == 0 &&
           local->sin_family == AF_INET &&
           getpeername(fd, reinterpret_cast<sockaddr*>(peer), &peerSize) == 0 && peer->sin_family == AF_INET;
}

bool SameEnd(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_port == b.sin_port && a.sin_addr.s_addr == b.sin_addr.s_addr;
}

}  // namespace

bool FindClientSocket(const char* peerAddress, int peerPort, int localPort, ClientSocket* found) {
    in_addr address{};
    if (inet_pton(AF_INET, peerAddress, &address) != 1) return false;
    // Descriptors are numbered below the process's limit; a limit beyond any the program reaches is not
    // scanned to its end.
    constexpr rlim_t kScanAtMost = 1 << 16, kUsualLimit = 1024;
    rlimit limit{};
    const rlim_t last =
        getrlimit(RLIMIT_NOFILE, &limit) == 0 ? std::min<rlim_t>(limit.rlim_cur, kScanAtMost) : kUsualLimit;
    int matches = 0;
    for (int fd = 0; fd < static_cast<int>(last); ++fd) {
        ClientSocket candidate;
        candidate.fd = fd;
        if (!Ends(fd, &candidate.local, &candidate.peer) || ntohs(candidate.local.sin_port) != localPort ||
            ntohs(candidate.peer.sin_port) != peerPort || candidate.peer.sin_addr.s_addr != address.s_addr)
            continue;
        if (++matches > 1) return false;
        *found = candidate;
    }
    return matches == 1;
}

bool IsSameConnection(const ClientSocket& socket) {
    sockaddr_in local{}, peer{};
    return Ends(socket.fd, &local, &peer) && SameEnd(local, socket.local) && SameEnd(peer, socket.peer);
}

}  // namespace web
