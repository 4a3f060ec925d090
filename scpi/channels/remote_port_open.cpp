#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "platform/host/device_node.h"
#include "scpi/channels/remote_port.h"

namespace scpi {

int PortOpen(RemotePort* port) {
    if (port == nullptr) return 0;
    pthread_mutex_lock(&port->mutex);
    if (!port->isOpen) {
        int fd = plat::OpenDevice(port->path, O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            // A port whose terminal settings were never given (plain init) keeps the device's own:
            // all-zero settings would hang up a serial line.
            if (port->inUse.c_cflag != 0) {
                tcflush(fd, TCIFLUSH);
                tcsetattr(fd, TCSANOW, &port->inUse);
            }
            port->fd = fd;
            port->isOpen = 1;
            port->rxCount = 0;
            port->txCount = 0;
        }
    }
    int open = static_cast<int>(port->isOpen);
    pthread_mutex_unlock(&port->mutex);
    return open;
}

int PortIsOpen(RemotePort* port) {
    if (port == nullptr) return 0;
    pthread_mutex_lock(&port->mutex);
    const int open = port->isOpen ? 1 : 0;
    pthread_mutex_unlock(&port->mutex);
    return open;
}

int PortClose(RemotePort* port) {
    if (port == nullptr) return -1;
    pthread_mutex_lock(&port->mutex);
    if (!port->isOpen) {
        pthread_mutex_unlock(&port->mutex);
        return -1;
    }
    port->isOpen = 0;
    if (port->fd > 0) plat::CloseDevice(port->fd);
    port->fd = 0;
    port->rxCount = 0;
    port->txCount = 0;
    std::memset(&port->txq, 0, sizeof(port->txq));
    pthread_mutex_unlock(&port->mutex);
    return 0;
}

}  // namespace scpi
