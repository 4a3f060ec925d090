// Waves from outside the internal store: the USB brand directory (own format, "F001Strong" image or the
// waveform editor's wdb file) and the factory default files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/params/waves/arb_mem.h"
#include "core/system/links/usb_state.h"
#include "platform/host/root.h"
#include "storage/brand_dir.h"
#include "storage/byte_order.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/files/arb_file.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

namespace {

constexpr uint32_t kUsbArea = 0, kDiskArea = 2;

std::string Name(int32_t i, const char* ext) {
    char name[16];
    std::snprintf(name, sizeof name, "ARB%d.%s", i + 1, ext);
    return name;
}

std::string UsbPath(const std::string& name) {
    return std::string("/mnt/sd1/") + BrandDir() + "/" + name;
}

// Reads an image whose size selected its format and checks it: the load result, or the read result.
int32_t LoadBySize(uint32_t area, const char* dir, const std::string& name, int32_t size, int32_t i) {
    const storage::ImageHold held(g_ArbFileImgLock);
    if (!held.owns_lock()) return kFileBadArgument;
    if (size == static_cast<int32_t>(kArbFileBytes)) {
        const int32_t got = FileReadRaw(area, dir, name.c_str(), g_ArbFileImg, kArbFileBytes);
        return got < 0 ? got : ArbLoadFile(i, got);
    }
    if (size == static_cast<int32_t>(kArbStrongBytes)) {
        const int32_t got = FileReadRaw(area, dir, name.c_str(), g_ArbImportImg, kArbStrongBytes);
        return got < 0 ? got : ArbImportStrongImage(i, got);
    }
    return kFileBadFrame;
}

}  // namespace

int32_t ArbLoadFromUsb(int32_t i) {
    if (i < 0 || i >= kArbWaves) return kFileBadArgument;
    g_ArbImportWasWdb.store(0, std::memory_order_relaxed);
    const std::string name = Name(i, "ARB");
    const int32_t size = FileSize(UsbPath(name).c_str());
    if (size < 1) return ArbImportWdb(i);
    const int32_t loaded = LoadBySize(kUsbArea, BrandDir(), name, size, i);
    return loaded < 0 ? loaded : ArbSaveFile(i, 1);
}

int32_t ArbImportWdb(int32_t i) {
    if (i < 0 || i >= kArbWaves) return kFileBadArgument;
    // The file is opened here, not through FileReadRaw: its refusal of an unmounted stick is repeated.
    if (!UsbMemoryMounted()) return kFileMissing;
    const std::string path = UsbPath(Name(i, "wdb"));
    const int32_t size = FileSize(path.c_str());
    if (size < 1) return kFileMissing;
    g_ArbImportWasWdb.store(1, std::memory_order_relaxed);
    if (size != kArbWdbBytes) return kFileBadFrame;
    // Only the head of the file holds the samples: it is read, not the whole file.
    const int fd = open(plat::MapPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kFileOpenFailed;
    uint8_t head[kArbWdbReadBytes];
    size_t got = 0;
    while (got < sizeof head) {
        const ssize_t n = read(fd, head + got, sizeof head - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got < sizeof head) return kFileShortRead;
    int16_t* slot = g_ArbMem[storage::ArbSlotOf(i)];
    for (int k = 0; k < kArbSamples; ++k)
        slot[k] = static_cast<int16_t>(storage::LoadLe(head + kArbWdbSamplesOffset + 2 * k, 2));
    return ArbSaveFile(i, 1);
}

int32_t ArbLoadDefault(int32_t i) {
    if (i < 0 || i >= kArbWaves) return kFileBadArgument;
    const std::string name = Name(i, "ARB");
    const int32_t size = FileSize(("/mnt/disk/default/ARB/" + name).c_str());
    if (size < 1) return size;
    return LoadBySize(kDiskArea, "default/ARB", name, size, i);
}
