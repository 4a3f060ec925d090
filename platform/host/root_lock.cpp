#include "platform/host/root_lock.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ipc.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/host/root.h"

namespace plat {
namespace {
// Kept open (and so locked) until the process ends; close-on-exec, so that no program the sandbox starts
// inherits the lock and holds it after the controller is gone.
int g_lockFd = -1;
}  // namespace

int LockRoot(pid_t* holder) {
    if (holder != nullptr) *holder = 0;
    if (g_lockFd >= 0) return 0;
    const std::string path = MapPath("/var/run/vrn-controller.lock");
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        char text[32] = {};
        ssize_t n = pread(fd, text, sizeof text - 1, 0);
        if (holder != nullptr && n > 0) *holder = static_cast<pid_t>(std::atol(text));
        close(fd);
        errno = err;
        return -1;
    }
    // The holder's id, for the message of a refused start.
    char text[32];
    int len = std::snprintf(text, sizeof text, "%d\n", static_cast<int>(getpid()));
    if (ftruncate(fd, 0) != 0 || pwrite(fd, text, static_cast<size_t>(len), 0) != len) {
        int err = errno;
        close(fd);
        errno = err;
        return -1;
    }
    g_lockFd = fd;
    return 0;
}

key_t RootIpcKey() {
    char* real = realpath(Root().c_str(), nullptr);
    std::string path = real != nullptr ? real : Root();
    free(real);
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : path) {
        hash ^= c;
        hash *= 16777619u;
    }
    key_t key = static_cast<key_t>(hash);
    return key == IPC_PRIVATE ? 1 : key;
}

}  // namespace plat
