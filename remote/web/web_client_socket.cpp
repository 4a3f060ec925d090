#include "remote/web/web_client_socket.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <sys/socket.h>

#include <cstdlib>

namespace web {
namespace {

constexpr char kOpenDescriptors[] = "/proc/self/fd";

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
    // Only the descriptors the process has open are looked at, as the kernel lists them: the cost
    // follows the sockets in use, never the process's file limit.
    DIR* open = opendir(kOpenDescriptors);
    if (open == nullptr) return false;
    int matches = 0;
    while (const dirent* entry = readdir(open)) {
        char* end = nullptr;
        const long number = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || number == dirfd(open)) continue;
        ClientSocket candidate;
        candidate.fd = static_cast<int>(number);
        if (!Ends(candidate.fd, &candidate.local, &candidate.peer) ||
            ntohs(candidate.local.sin_port) != localPort || ntohs(candidate.peer.sin_port) != peerPort ||
            candidate.peer.sin_addr.s_addr != address.s_addr)
            continue;
        *found = candidate;
        if (++matches > 1) break;
    }
    closedir(open);
    return matches == 1;
}

bool IsSameConnection(const ClientSocket& socket) {
    sockaddr_in local{}, peer{};
    return Ends(socket.fd, &local, &peer) && SameEnd(local, socket.local) && SameEnd(peer, socket.peer);
}

}  // namespace web
