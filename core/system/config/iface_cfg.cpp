#include "core/system/config/iface_cfg.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/host/root.h"

storage::IfaceCfg g_IfaceCfg;
std::atomic<uint32_t> g_SysInfoDetail{0};

namespace {

// A reset on the supervisor thread and the GUI thread may apply at once: one temporary name serves both,
// and the last file written holds the last values set.
std::mutex g_LcdFileLock;

// The whole text under a temporary name, then renamed over the old one: a reader sees either file whole.
// Caller holds g_LcdFileLock.
int WriteLcdFile(uint8_t contrast, uint8_t brightness, uint8_t saturation) {
    const std::string path = plat::MapPath("/var/run/lcd-adjust");
    if (path.empty()) return -1;
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%u %u %u\n", unsigned{contrast}, unsigned{brightness},
                                unsigned{saturation});
    const std::string tmp = path + ".tmp";
    const int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    const bool written = write(fd, text, static_cast<size_t>(n)) == n;
    if (close(fd) != 0 || !written || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return -1;
    }
    return 0;
}

void ApplyCurrent() {
    const std::lock_guard<std::mutex> hold(g_LcdFileLock);
    WriteLcdFile(IfaceLcdByte(0), IfaceLcdByte(1), IfaceLcdByte(2));
}

}  // namespace

void SetLcdAdjust0(uint8_t percent) {
    IfaceLcdByteSet(0, percent);
    ApplyCurrent();
}
void SetLcdAdjust1(uint8_t percent) {
    IfaceLcdByteSet(1, percent);
    ApplyCurrent();
}
void SetLcdAdjust2(uint8_t percent) {
    IfaceLcdByteSet(2, percent);
    ApplyCurrent();
}

int SetLcdAdjustAll(uint8_t contrast, uint8_t brightness, uint8_t saturation) {
    const std::lock_guard<std::mutex> hold(g_LcdFileLock);
    return WriteLcdFile(contrast, brightness, saturation);
}
