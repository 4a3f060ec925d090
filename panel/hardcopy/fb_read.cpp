#include "panel/hardcopy/fb_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/host/root.h"

namespace {
uint8_t g_work[panel::kFbReadBytes];
}  // namespace

int Fb_ReadScreen() {
    const std::string host = plat::MapPath("/dev/fb0");
    const int fd = host.empty() ? -1 : open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    size_t got = 0;
    while (got < sizeof g_work) {
        const ssize_t n = read(fd, g_work + got, sizeof g_work - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    return got == sizeof g_work ? 0 : -1;
}

const uint8_t* panel::ScreenCopyPixels() {
    return g_work;
}
