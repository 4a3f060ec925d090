#include "scpi/channels/remote_port.h"

#include <unistd.h>

#include <cstring>

#include "platform/host/device_node.h"

namespace scpi {
namespace {

int InitCommon(RemotePort* port, const char* path) {
    std::memset(port, 0, sizeof(*port));
    if (path != nullptr) std::strncpy(port->path, path, kPortPathSize - 1);
    if (pthread_mutex_init(&port->mutex, nullptr) != 0) return -1;
    return 0;
}

}  // namespace

int PortInit(RemotePort* port, const char* path) {
    if (port == nullptr) return -1;
    return InitCommon(port, path);
}

int PortInitTerminal(RemotePort* port, const char* path) {
    if (port == nullptr || InitCommon(port, path) != 0) return -1;
    termios t{};
    t.c_iflag = BRKINT | IGNPAR;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = B9600 | CS8 | CREAD | CLOCAL;
    t.c_cc[VTIME] = 0;
    t.c_cc[VMIN] = 1;
    port->saved = t;
    port->inUse = t;
    return 0;
}

void PortDeinit(RemotePort* port) {
    if (port == nullptr) return;
    if (port->isOpen && port->fd > 0) plat::CloseDevice(port->fd);
    port->fd = 0;
    port->isOpen = 0;
    pthread_mutex_destroy(&port->mutex);
}

int PortQueueClear(RemotePort* port) {
    if (port == nullptr) return -1;
    pthread_mutex_lock(&port->mutex);
    // Committed entries go, and with them the staged ones: a clear empties the whole queue.
    std::memset(&port->txq, 0, sizeof(port->txq));
    pthread_mutex_unlock(&port->mutex);
    return 0;
}

int PortCommittedCount(RemotePort* port) {
    if (port == nullptr) return 0;
    pthread_mutex_lock(&port->mutex);
    int n = port->txq.committed;
    pthread_mutex_unlock(&port->mutex);
    return n;
}

int PortControl(RemotePort* port, int32_t code, const void* arg) {
    if (port == nullptr) return -1;
    switch (code) {
        case kPortCtlConnected:
            return PortIsOpen(port);
        case kPortCtlClearOutput:
            return PortQueueClear(port);
        case kPortCtlCommitted:
            return PortCommittedCount(port);
        case kPortCtlReset:
        case kPortCtlReserved:
            return 0;
        case kPortCtlSerialApply:
            return SerialApply(port, arg);
        case kPortCtlTxCount:
        case kPortCtlRxCount: {
            pthread_mutex_lock(&port->mutex);
            int32_t* counter = code == kPortCtlTxCount ? &port->txCount : &port->rxCount;
            int n = *counter;
            *counter = 0;
            pthread_mutex_unlock(&port->mutex);
            return n;
        }
        default:
            return -1;
    }
}

}  // namespace scpi

int SerialApply(RemotePort* port, const void* settings) {
    static_assert(sizeof(termios) == 60, "the terminal-settings block is 60 bytes");
    if (port == nullptr || settings == nullptr) return -1;
    pthread_mutex_lock(&port->mutex);
    std::memcpy(&port->inUse, settings, sizeof(termios));
    int rc = 0;
    if (port->isOpen) {
        tcflush(port->fd, TCIFLUSH);
        rc = tcsetattr(port->fd, TCSANOW, &port->inUse);
    }
    pthread_mutex_unlock(&port->mutex);
    return rc;
}
