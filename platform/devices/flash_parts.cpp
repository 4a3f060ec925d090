#include "platform/devices/flash_parts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/host/root.h"

namespace plat {
namespace fs = std::filesystem;
namespace {

struct Partition {
    int number;
    size_t size;
};

// Boot image, boot loader, start screen and kernel; sizes kept small, each larger than its image.
constexpr Partition kPartitions[] = {
    {0, 512 * 1024},
    {5, 512 * 1024},
    {9, 512 * 1024},
    {11, 2 * 1024 * 1024},
};

std::string NodePath(const char* kind, int partition) {
    char path[48];
    std::snprintf(path, sizeof path, "/dev/%s%d", kind, partition);
    return MapPath(path);
}

std::string SizePath(int partition) {
    char path[48];
    std::snprintf(path, sizeof path, "/sys/class/mtd/mtd%d/size", partition);
    return MapPath(path);
}

bool Fill(int fd, size_t size) {
    std::vector<char> erased(64 * 1024, static_cast<char>(0xFF));
    for (size_t done = 0; done < size;) {
        size_t n = std::min(erased.size(), size - done);
        ssize_t written = pwrite(fd, erased.data(), n, static_cast<off_t>(done));
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return fsync(fd) == 0;
}

bool MakePartition(const Partition& part) {
    std::error_code ec;
    const std::string node = NodePath("mtd", part.number);
    if (!fs::exists(node, ec)) {
        int fd = open(node.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) return errno == EEXIST;
        bool ok = Fill(fd, part.size);
        close(fd);
        if (!ok) return false;
    }
    const std::string block = NodePath("mtdblock", part.number);
    if (fs::symlink_status(block, ec).type() == fs::file_type::not_found)
        fs::create_symlink(fs::path(node).filename(), block, ec);
    if (ec) return false;
    const std::string sizeFile = SizePath(part.number);
    fs::create_directories(fs::path(sizeFile).parent_path(), ec);
    if (ec) return false;
    if (fs::exists(sizeFile, ec)) return true;
    std::ofstream(sizeFile) << part.size << "\n";
    return fs::exists(sizeFile, ec);
}

}  // namespace

bool PrepareFlashPartitions() {
    for (const Partition& part : kPartitions)
        if (!MakePartition(part)) return false;
    return true;
}

size_t FlashPartitionSize(int partition) {
    std::ifstream in(SizePath(partition));
    size_t size = 0;
    return in >> size ? size : 0;
}

bool EraseFlashFile(const std::string& hostPath) {
    int fd = open(hostPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && Fill(fd, static_cast<size_t>(st.st_size));
    close(fd);
    return ok;
}

}  // namespace plat
