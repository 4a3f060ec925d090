#include "sysadmin/firmware/flash_image.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/devices/flash_parts.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "storage/brand_dir.h"
#include "storage/file_util.h"
#include "sysadmin/file_read_whole.h"
#include "sysadmin/firmware/pkg_unpack.h"

namespace {

struct PackageImage {
    int32_t partition;
    const char* file;
};

constexpr PackageImage kPackageImages[] = {
    {5, "u-boot.img"},
    {11, "zImage"},
    {9, "image.bmp"},
};

bool WriteBlockNode(int32_t partition, const uint8_t* image, size_t size) {
    char node[32];
    std::snprintf(node, sizeof node, "/dev/mtdblock%d", partition);
    int fd = open(plat::MapPath(node).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    size_t done = 0;
    for (ssize_t n; done < size && (n = pwrite(fd, image + done, size - done, static_cast<off_t>(done))) > 0;)
        done += static_cast<size_t>(n);
    bool ok = done == size && fsync(fd) == 0;
    std::vector<uint8_t> back(size);
    size_t got = 0;
    for (ssize_t n;
         ok && got < size && (n = pread(fd, back.data() + got, size - got, static_cast<off_t>(got))) > 0;)
        got += static_cast<size_t>(n);
    close(fd);
    return ok && got == size && std::equal(back.begin(), back.end(), image);
}

}  // namespace

int32_t FlashProgram(int32_t partition, const uint8_t* image, size_t size) {
    const size_t capacity = plat::FlashPartitionSize(partition);
    if (image == nullptr || size == 0 || size > capacity) return -1;
    char command[48];
    std::snprintf(command, sizeof command, "flash_eraseall /dev/mtd%d", partition);
    if (plat::System(command) != 0) return -2;
    return WriteBlockNode(partition, image, size) ? 0 : -3;
}

int32_t FlashWriteFromPackage(int32_t partition, const char* /*fileName*/) {
    const PackageImage* row = nullptr;
    for (const PackageImage& image : kPackageImages)
        if (image.partition == partition) row = &image;
    if (row == nullptr) return -2;
    if (int32_t unpacked = PkgUnpack(BrandDir()); unpacked != 0) return unpacked;
    char path[64];
    std::snprintf(path, sizeof path, "/tmp/%s/merge_vrn/%s", BrandDir(), row->file);
    const int32_t size = FileSize(path);
    if (size < 1 || IsDirectory(path) == 1) return -2;
    const size_t length = static_cast<size_t>(size);
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(AlignedAlloc((length + 4) & ~size_t{3})), &std::free);
    if (!buffer) return -106;
    if (int32_t read = FileReadWhole(path, buffer.get(), length); read != 0) return read;
    return FlashProgram(partition, buffer.get(), length) == 0 ? 0 : -2;
}

int32_t FlashCopyToUsb(int32_t, const char*) {
    return -1;
}
