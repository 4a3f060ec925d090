#include "platform/devices/framebuffer_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/host/root.h"

namespace plat {

namespace {

// A new file appears whole: made and synced under a temporary name, then renamed into place.
int CreateBlack(const std::string& path) {
    const std::string tmp = path + ".tmp";
    const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    const bool ok = ftruncate(fd, kFramebufferFileBytes) == 0 && fsync(fd) == 0;
    if (close(fd) != 0 || !ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return -1;
    }
    return 0;
}

}  // namespace

int PrepareFramebufferFile() {
    const std::string path = MapPath("/dev/fb0");
    struct stat st {};
    if (path.empty()) {
        errno = EINVAL;  // a link that leads out of the root
        return -1;
    }
    if (stat(path.c_str(), &st) != 0) return CreateBlack(path);
    if (!S_ISREG(st.st_mode) || st.st_size >= static_cast<off_t>(kFramebufferFileBytes)) return 0;
    return truncate(path.c_str(), kFramebufferFileBytes);
}

}  // namespace plat
