#include "platform/spi.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "platform/panel_sim.h"

namespace plat {
namespace {

// Handles of simulated nodes lie far above any descriptor the process could hold.
constexpr int kHandleBase = 0x40000000;

enum SimKind { kSimNone = 0, kSimPanel = 1 };

struct SimNode {
    SimKind kind = kSimNone;
    uint8_t mode = 0;
    uint8_t bits = 8;
    uint32_t speed = 0;
};

constexpr int kMaxHandles = 16;
std::mutex g_lock;
SimNode g_nodes[kMaxHandles];

SimNode* Node(int handle) {
    int i = handle - kHandleBase;
    if (i < 0 || i >= kMaxHandles || g_nodes[i].kind == kSimNone) return nullptr;
    return &g_nodes[i];
}

}  // namespace

int SpiOpen(const char* devicePath) {
    if (devicePath == nullptr) {
        errno = EINVAL;
        return -1;
    }
    if (std::strcmp(devicePath, "/dev/spidev2.1") != 0) {
        errno = ENOENT;
        return -1;
    }
    std::lock_guard<std::mutex> g(g_lock);
    for (int i = 0; i < kMaxHandles; ++i) {
        if (g_nodes[i].kind == kSimNone) {
            g_nodes[i] = SimNode{kSimPanel};
            return kHandleBase + i;
        }
    }
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
    *node = SimNode{};
    return 0;
}

}  // namespace plat
