#include "scpi/channels/ports/device_port.h"

#include <unistd.h>

#include <cerrno>

namespace scpi {
namespace {

bool NodeGone(int error, bool eioCloses) {
    return error == ENOENT || error == EBADF || error == ENODEV || error == ENOMSG ||
           (eioCloses && error == EIO);
}

}  // namespace

int DevicePortRead(RemotePort* port, void* buffer, uint32_t length, bool eioCloses) {
    if (port == nullptr) return -1;
    pthread_mutex_lock(&port->mutex);
    const int fd = port->isOpen ? port->fd : -1;
    pthread_mutex_unlock(&port->mutex);
    if (fd < 0) return -1;
    const ssize_t n = read(fd, buffer, length);
    if (n > 0) {
        pthread_mutex_lock(&port->mutex);
        port->rxCount += static_cast<int32_t>(n);
        pthread_mutex_unlock(&port->mutex);
        return static_cast<int>(n);
    }
    // errno means something only after -1; left over from an earlier call it would close an idle port.
    if (n < 0 && !NodeGone(errno, eioCloses)) return 0;
    PortClose(port);
    return 0;
}

bool DevicePortTransmit(RemotePort* port) {
    if (PortCommittedCount(port) <= 0) return true;
    if (PortWrite(port, nullptr, 0, kPortTransmit) >= 0) return true;
    const int error = errno;
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

void ChannelFlagsRefresh(ScpiInterface* ifc, uint32_t pass) {
    constexpr uint32_t kRefreshPasses = 200;
    if (pass % kRefreshPasses != 0 || ifc->io.control == nullptr) return;
    auto flag = [ifc](uint32_t bit, bool on) {
        if (on)
            scpiStatusSetBits(ifc->status, bit);
        else
            scpiStatusClearBits(ifc->status, bit);
    };
    flag(kChanReplyWaiting, ifc->io.control(kPortCtlCommitted, 0) > 0);
    flag(kChanRxActivity, ifc->io.control(kPortCtlRxCount, 0) > 0);
    flag(kChanTxActivity, ifc->io.control(kPortCtlTxCount, 0) > 0);
    flag(kChanConnected, ifc->io.control(kPortCtlConnected, 0) == 1);
}

}  // namespace scpi
