#include "platform/devices/spi.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/devices/panel_sim.h"
#include "platform/host/root.h"

namespace plat {
namespace {

// Handles of simulated nodes lie far above any descriptor the process could hold.
constexpr int kHandleBase = 0x40000000;

enum SimKind { kSimNone = 0, kSimPanel = 1, kSimNvm = 2 };

struct SimNode {
    SimKind kind = kSimNone;
    uint8_t mode = 0;
    uint8_t bits = 8;
    uint32_t speed = 0;
    int file = -1;  // the non-volatile memory's backing file
    bool writeEnabled = false;
};

constexpr int kMaxHandles = 16;
std::mutex g_lock;
SimNode g_nodes[kMaxHandles];

SimNode* Node(int handle) {
    int i = handle - kHandleBase;
    if (i < 0 || i >= kMaxHandles || g_nodes[i].kind == kSimNone) return nullptr;
    return &g_nodes[i];
}

constexpr const char* kNvmPath = "/dev/spidev1.0";
constexpr uint8_t kCmdWriteEnable = 0x06, kCmdWriteDisable = 0x04, kCmdWrite = 0x02, kCmdRead = 0x03;

// The memory's commands run one at a time, as on the one bus the chip sits on.
std::mutex g_nvmLock;
std::vector<NvmSimCommand> g_nvmLog;
// The log serves tests that clear it and look at a few hundred commands; in a long run it keeps only
// the newest commands, or every settings save would grow it for the life of the process.
constexpr size_t kNvmLogKeep = 8192;
int g_nvmFailIn = -1;
int g_nvmWritesToCut = -1;  // write commands still taken before the power cut; -1 none armed
bool g_nvmReadsAllOnes = false;

// Opens the backing file, making a fresh (erased) chip when it is missing or short.
int OpenNvmFile() {
    std::string path = MapPath(kNvmPath);
    if (path.empty()) return -1;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    off_t size = ::lseek(fd, 0, SEEK_END);
    if (size < static_cast<off_t>(kNvmSimSize)) {
        std::vector<uint8_t> ones(kNvmSimSize - static_cast<uint32_t>(size < 0 ? 0 : size), 0xFF);
        if (::pwrite(fd, ones.data(), ones.size(), size < 0 ? 0 : size) !=
            static_cast<ssize_t>(ones.size())) {
            ::close(fd);
            return -1;
        }
    }
    return fd;
}

// Reads or writes the chip's bytes; the address counter wraps at the end of the 17-bit space, as the
// chip's does.
bool NvmFileIo(int fd, uint32_t address, uint8_t* data, uint32_t length, bool write) {
    while (length > 0) {
        address &= kNvmSimSize - 1;
        uint32_t n = std::min(length, kNvmSimSize - address);
        ssize_t done = write ? ::pwrite(fd, data, n, address) : ::pread(fd, data, n, address);
        if (done != static_cast<ssize_t>(n)) return false;
        address += n;
        data += n;
        length -= n;
    }
    return true;
}

int NvmMessage(SimNode* node, spi_ioc_transfer* xfers, int count) {
    std::vector<uint8_t> stream;
    for (int i = 0; i < count; ++i) {
        const auto* tx = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(xfers[i].tx_buf));
        if (tx != nullptr)
            stream.insert(stream.end(), tx, tx + xfers[i].len);
        else
            stream.insert(stream.end(), xfers[i].len, 0);
    }
    if (stream.empty()) {
        errno = EINVAL;
        return -1;
    }
    std::lock_guard<std::mutex> g(g_nvmLock);
    NvmSimCommand entry{stream[0], 0, 0, false};
    bool addressed = entry.command == kCmdWrite || entry.command == kCmdRead;
    if (addressed && stream.size() >= 4) {
        entry.address =
            (uint32_t{stream[1]} << 16 | uint32_t{stream[2]} << 8 | stream[3]) & (kNvmSimSize - 1);
        entry.length = static_cast<uint32_t>(stream.size() - 4);
    }
    entry.failed = g_nvmFailIn == 0 || g_nvmWritesToCut == 0;
    if (g_nvmFailIn >= 0) --g_nvmFailIn;
    if (!entry.failed && entry.command == kCmdWrite && g_nvmWritesToCut > 0) --g_nvmWritesToCut;
    if (g_nvmLog.size() >= kNvmLogKeep) g_nvmLog.erase(g_nvmLog.begin(), g_nvmLog.begin() + kNvmLogKeep / 2);
    g_nvmLog.push_back(entry);
    if (entry.failed || (addressed && stream.size() < 4)) {
        errno = EIO;
        return -1;
    }
    if (entry.command == kCmdWriteEnable) node->writeEnabled = true;
    if (entry.command == kCmdWriteDisable) node->writeEnabled = false;
    if (entry.command == kCmdWrite && node->writeEnabled) {
        if (!NvmFileIo(node->file, entry.address, stream.data() + 4, entry.length, true)) {
            errno = EIO;
            return -1;
        }
    }
    if (entry.command == kCmdRead) {
        if (g_nvmReadsAllOnes)
            std::memset(stream.data() + 4, 0xFF, entry.length);
        else if (!NvmFileIo(node->file, entry.address, stream.data() + 4, entry.length, false)) {
            errno = EIO;
            return -1;
        }
    }
    // A full-duplex message: what the chip clocked out lands in the receive buffers, the header's
    // places included (the chip drives nothing then; they read as 0).
    if (entry.command == kCmdRead) std::memset(stream.data(), 0, 4);
    size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        auto* rx = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(xfers[i].rx_buf));
        if (rx != nullptr && entry.command == kCmdRead) std::memcpy(rx, stream.data() + pos, xfers[i].len);
        pos += xfers[i].len;
    }
    return static_cast<int>(stream.size());
}

}  // namespace

std::vector<NvmSimCommand> NvmSimLog() {
    std::lock_guard<std::mutex> g(g_nvmLock);
    return g_nvmLog;
}

void NvmSimClearLog() {
    std::lock_guard<std::mutex> g(g_nvmLock);
    g_nvmLog.clear();
}

void NvmSimFailMessage(int nth) {
    std::lock_guard<std::mutex> g(g_nvmLock);
    g_nvmFailIn = nth;
}

void NvmSimCutAfterWrites(int writes) {
    std::lock_guard<std::mutex> g(g_nvmLock);
    g_nvmWritesToCut = writes < 0 ? -1 : writes;
}

void NvmSimSetReadsAllOnes(bool on) {
    std::lock_guard<std::mutex> g(g_nvmLock);
    g_nvmReadsAllOnes = on;
}

int NvmSimErase() {
    std::lock_guard<std::mutex> g(g_nvmLock);
    int fd = OpenNvmFile();
    if (fd < 0) return -1;
    std::vector<uint8_t> ones(kNvmSimSize, 0xFF);
    bool ok = NvmFileIo(fd, 0, ones.data(), kNvmSimSize, true);
    ::close(fd);
    return ok ? 0 : -1;
}

void NvmSimReset() {
    std::lock_guard<std::mutex> g(g_nvmLock);
    g_nvmLog.clear();
    g_nvmFailIn = -1;
    g_nvmWritesToCut = -1;
    g_nvmReadsAllOnes = false;
}

int SpiOpen(const char* devicePath) {
    if (devicePath == nullptr) {
        errno = EINVAL;
        return -1;
    }
    SimKind kind = std::strcmp(devicePath, "/dev/spidev2.1") == 0 ? kSimPanel
                   : std::strcmp(devicePath, kNvmPath) == 0       ? kSimNvm
                                                                  : kSimNone;
    if (kind == kSimNone) {
        errno = ENOENT;
        return -1;
    }
    int file = -1;
    if (kind == kSimNvm) {
        file = OpenNvmFile();
        if (file < 0) return -1;
    }
    std::lock_guard<std::mutex> g(g_lock);
    for (int i = 0; i < kMaxHandles; ++i) {
        if (g_nodes[i].kind == kSimNone) {
            g_nodes[i] = SimNode{kind};
            g_nodes[i].file = file;
            return kHandleBase + i;
        }
    }
    if (file >= 0) ::close(file);
    errno = EMFILE;
    return -1;
}

int SpiIoctl(int handle, unsigned long request, void* arg) {
    SimNode* node;
    {
        std::lock_guard<std::mutex> g(g_lock);
        node = Node(handle);
    }
    if (node == nullptr || arg == nullptr) {
        errno = node == nullptr ? EBADF : EFAULT;
        return -1;
    }
    switch (request) {
        case SPI_IOC_WR_MODE:
            node->mode = *static_cast<uint8_t*>(arg);
            return 0;
        case SPI_IOC_RD_MODE:
            *static_cast<uint8_t*>(arg) = node->mode;
            return 0;
        case SPI_IOC_WR_BITS_PER_WORD:
            node->bits = *static_cast<uint8_t*>(arg);
            return 0;
        case SPI_IOC_RD_BITS_PER_WORD:
            *static_cast<uint8_t*>(arg) = node->bits;
            return 0;
        case SPI_IOC_WR_MAX_SPEED_HZ:
            node->speed = *static_cast<uint32_t*>(arg);
            return 0;
        case SPI_IOC_RD_MAX_SPEED_HZ:
            *static_cast<uint32_t*>(arg) = node->speed;
            return 0;
        default:
            break;
    }
    if (node->kind == kSimNvm && (request == SPI_IOC_MESSAGE(1) || request == SPI_IOC_MESSAGE(2)))
        return NvmMessage(node, static_cast<spi_ioc_transfer*>(arg), request == SPI_IOC_MESSAGE(1) ? 1 : 2);
    if (request == SPI_IOC_MESSAGE(1)) {
        auto* xfer = static_cast<spi_ioc_transfer*>(arg);
        uint32_t len = xfer->len;
        uint8_t frame[4] = {0, 0, 0, 0};
        if (len != 4 || xfer->tx_buf == 0) {
            errno = EINVAL;
            return -1;
        }
        std::memcpy(frame, reinterpret_cast<const void*>(static_cast<uintptr_t>(xfer->tx_buf)), 4);
        if (!PanelSimTransfer(frame, 4)) {
            errno = EIO;
            return -1;
        }
        if (xfer->rx_buf != 0)
            std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(xfer->rx_buf)), frame, 4);
        return static_cast<int>(len);
    }
    errno = ENOTTY;
    return -1;
}

int SpiClose(int handle) {
    std::lock_guard<std::mutex> g(g_lock);
    SimNode* node = Node(handle);
    if (node == nullptr) {
        errno = EBADF;
        return -1;
    }
    if (node->file >= 0) ::close(node->file);
    *node = SimNode{};
    return 0;
}

}  // namespace plat
