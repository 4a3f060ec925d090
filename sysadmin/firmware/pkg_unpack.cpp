#include "sysadmin/firmware/pkg_unpack.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/system/util/text_util.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "platform/sandbox/tools/tar_check.h"
#include "storage/brand_dir.h"
#include "storage/file_util.h"
#include "sysadmin/file_read_whole.h"
#include "sysadmin/usb/usb_source.h"

namespace {

bool IsBrandDir(const char* name) {
    if (name == nullptr) return false;
    for (const char* dir : g_BrandDirTable)
        if (std::strcmp(name, dir) == 0) return true;
    return false;
}

// Runs tar through a pipe, draining its output; its exit status, or -1 when it cannot start.
int RunTar(const char* command) {
    FILE* pipe = plat::Popen(command, "r");
    if (pipe == nullptr) return -1;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
    }
    return plat::Pclose(pipe);
}

// The payload as the archive file: 0; -103 when it cannot be created, -104 when fewer bytes than the
// payload's reach it (a full disk), the partial file then removed.
int32_t WriteArchive(const char* path, const uint8_t* data, size_t size) {
    const std::string host = plat::MapPath(path);
    const int fd = host.empty() ? -1 : open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return -103;
    size_t done = 0;
    for (ssize_t n = 0; done < size && (n = write(fd, data + done, size - done)) > 0;)
        done += static_cast<size_t>(n);
    close(fd);
    if (done == size) return 0;
    unlink(host.c_str());
    return -104;
}

}  // namespace

int32_t PkgHeaderCheck(const uint8_t* buffer, size_t size, uint32_t* headerLength) {
    if (buffer == nullptr || size < kPkgHeaderSize || buffer[0] != '#') return -600;
    if (buffer[2] < '0' || buffer[2] > '9' || buffer[3] < '0' || buffer[3] > '9') return -600;
    const uint32_t length = static_cast<uint32_t>((buffer[2] - '0') * 10 + (buffer[3] - '0')) + 4;
    if (length != kPkgHeaderSize) return -600;
    uint32_t sum = 0;
    for (size_t i = 5; i < kPkgHeaderSize; ++i)
        sum += buffer[i];
    if (buffer[4] != (sum & 0xFF)) return -600;
    if (headerLength != nullptr) *headerLength = length;
    return 0;
}

int32_t PkgUnpack(const char* name) {
    if (!IsBrandDir(name) || !UsbSourceReady()) return -100;
    char path[64];
    std::snprintf(path, sizeof path, "/mnt/sd1/%s/%s.%s", name, name, "sb6");
    const int32_t size = FileSize(path);
    if (size < 1 || IsDirectory(path) == 1) return -100;
    if (static_cast<size_t>(size) < kPkgHeaderSize) return -600;
    const size_t length = static_cast<size_t>(size);
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(AlignedAlloc((length + 3) & ~size_t{3})), &std::free);
    if (!buffer) return -106;
    plat::System("sync");
    if (int32_t read = FileReadWhole(path, buffer.get(), length); read != 0) return read;
    plat::System("sync");
    uint32_t headerLength = 0;
    if (PkgHeaderCheck(buffer.get(), length, &headerLength) != 0) return -600;
    uint8_t* payload = buffer.get() + headerLength;
    const size_t payloadSize = length - headerLength;
    NibbleSwapBuffer(payload, payloadSize);
    if (!TarMembersSafe(payload, payloadSize, name)) return -105;

    // An earlier package's images must not be taken for this one's.
    char command[96];
    std::snprintf(command, sizeof command, "rm -rf /tmp/%s", name);
    if (plat::System(command) != 0) return -103;
    char archive[48];
    std::snprintf(archive, sizeof archive, "/tmp/%s.tar", name);
    if (int32_t written = WriteArchive(archive, payload, payloadSize); written != 0) return written;
    plat::System("sync");
    std::snprintf(command, sizeof command, "tar -xf %s -C /tmp", archive);
    int32_t result = RunTar(command) == 0 ? 0 : -105;
    plat::System("sync");
    if (result != 0) {
        std::snprintf(command, sizeof command, "rm -rf /tmp/%s", name);
        plat::System(command);
    }
    std::snprintf(command, sizeof command, "rm %s", archive);
    plat::System(command);
    plat::SleepMs(1000);
    plat::System("sync");
    return result;
}
