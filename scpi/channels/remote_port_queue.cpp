#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "scpi/channels/remote_port.h"

namespace {

uint32_t Slot(uint32_t index) {
    return index % kTxQueueEntries;
}

bool IsCopied(const ScpiTxEntry& e) {
    return e.type == kTxCopyEnd || e.type == kTxCopy;
}

ScpiTxEntry* LastStaged(ScpiTxQueue& q) {
    if (q.staged <= 0) return nullptr;
    return &q.entries[Slot(q.stageIdx + kTxQueueEntries - 1)];
}

void Stage(ScpiTxQueue& q, uint32_t type, const uint8_t* data, uint32_t length) {
    q.entries[Slot(q.stageIdx)] = ScpiTxEntry{type, data, length};
    q.stageIdx = Slot(q.stageIdx + 1);
    q.staged++;
}

int StageCopy(ScpiTxQueue& q, const uint8_t* src, uint32_t length, int32_t mode) {
    ScpiTxRing& ring = q.ring;
    if (length > kTxRingSize - static_cast<uint32_t>(ring.used)) return -1;
    uint32_t first = kTxRingSize - ring.writePos;
    if (first > length) first = length;
    uint32_t second = length - first;

    // A copy directly continuing the last staged copy (same reply, no wrap in between) extends it.
    ScpiTxEntry* last = LastStaged(q);
    bool merge =
        last != nullptr && last->type == kTxCopy && last->data + last->length == ring.data + ring.writePos;
    uint32_t needed = (merge ? 0u : 1u) + (second > 0 ? 1u : 0u);
    if (static_cast<uint32_t>(q.committed + q.staged) + needed > kTxQueueEntries) return -1;

    uint32_t type = mode == 0 ? kTxCopyEnd : kTxCopy;
    uint8_t* dst = ring.data + ring.writePos;
    std::memcpy(dst, src, first);
    if (merge) {
        last->length += first;
        if (mode == 0) last->type = kTxCopyEnd;
    } else {
        Stage(q, type, dst, first);
    }
    ring.writePos = (ring.writePos + first) % kTxRingSize;
    if (second > 0) {
        std::memcpy(ring.data, src + first, second);
        Stage(q, type, ring.data, second);
        ring.writePos = second;
    }
    ring.used += static_cast<int32_t>(length);
    return static_cast<int>(length);
}

// Drops the staged entries above the first `keep`, and what copies added to the last kept one since the
// mark, giving their ring space back.
void DropAbove(ScpiTxQueue& q, int32_t keep) {
    while (q.staged > keep) {
        q.stageIdx = Slot(q.stageIdx + kTxQueueEntries - 1);
        ScpiTxEntry& e = q.entries[q.stageIdx];
        if (IsCopied(e)) {
            q.ring.used -= static_cast<int32_t>(e.length);
            q.ring.writePos = static_cast<uint32_t>(e.data - q.ring.data);
        }
        e = ScpiTxEntry{};
        q.staged--;
    }
    ScpiTxEntry* last = LastStaged(q);
    if (keep > 0 && last != nullptr && IsCopied(*last) && last->length > q.keptLength) {
        q.ring.used -= static_cast<int32_t>(last->length - q.keptLength);
        q.ring.writePos = static_cast<uint32_t>(last->data - q.ring.data + q.keptLength) % kTxRingSize;
        last->length = q.keptLength;
    }
}

void Discard(ScpiTxQueue& q) {
    DropAbove(q, 0);
    q.kept = 0;
}

void Mark(ScpiTxQueue& q) {
    q.kept = q.staged;
    const ScpiTxEntry* last = LastStaged(q);
    q.keptLength = last != nullptr ? last->length : 0;
}

// Marks n bytes of the committed entries as sent, freeing the entries (and their ring space) that
// went out whole.
void Consume(RemotePort* port, size_t n) {
    ScpiTxQueue& q = port->txq;
    port->txCount += static_cast<int32_t>(n);
    while (n > 0 && q.committed > 0) {
        ScpiTxEntry& head = q.entries[Slot(q.readIdx)];
        size_t rest = head.length - static_cast<uint32_t>(q.sent);
        if (n < rest) {
            q.sent += static_cast<int32_t>(n);
            return;
        }
        n -= rest;
        if (IsCopied(head)) {
            q.ring.used -= static_cast<int32_t>(head.length);
            q.ring.readPos = static_cast<uint32_t>(head.data - q.ring.data + head.length) % kTxRingSize;
        }
        head = ScpiTxEntry{};
        q.readIdx = Slot(q.readIdx + 1);
        q.committed--;
        q.sent = 0;
    }
    if (q.committed == 0 && q.staged == 0) std::memset(&q, 0, sizeof(q));
}

// A socket gets every committed entry in one send, so that a reply split over entries (the ring's end,
// data queued by reference) still leaves as one segment and never waits for the peer's acknowledgement.
ssize_t SendCommitted(RemotePort* port) {
    ScpiTxQueue& q = port->txq;
    iovec iov[kTxQueueEntries];
    size_t count = 0;
    for (int32_t i = 0; i < q.committed; ++i) {
        const ScpiTxEntry& e = q.entries[Slot(q.readIdx + static_cast<uint32_t>(i))];
        const size_t skip = i == 0 ? static_cast<size_t>(q.sent) : 0;
        iov[count].iov_base = const_cast<uint8_t*>(e.data + skip);
        iov[count].iov_len = e.length - skip;
        count++;
    }
    msghdr msg{};
    msg.msg_iov = iov;
    msg.msg_iovlen = count;
    return sendmsg(port->fd, &msg, MSG_NOSIGNAL);
}

int Transmit(RemotePort* port) {
    ScpiTxQueue& q = port->txq;
    if (q.committed <= 0) return -1;
    ssize_t n;
    if (std::strcmp(port->path, kPortSocketPath) == 0) {
        n = SendCommitted(port);
    } else {
        const ScpiTxEntry& head = q.entries[Slot(q.readIdx)];
        n = write(port->fd, head.data + q.sent, head.length - static_cast<uint32_t>(q.sent));
    }
    if (n <= 0) return static_cast<int>(n);
    Consume(port, static_cast<size_t>(n));
    return static_cast<int>(n);
}

}  // namespace

int PortWrite(RemotePort* port, const void* data, uint32_t length, int32_t mode) {
    if (port == nullptr) return -1;
    pthread_mutex_lock(&port->mutex);
    ScpiTxQueue& q = port->txq;
    int rc;
    switch (mode) {
        case kPortCopyEnd:
        case kPortCopy:
            if (data == nullptr && length > 0) {
                rc = -1;
            } else {
                rc = length == 0 ? 0 : StageCopy(q, static_cast<const uint8_t*>(data), length, mode);
            }
            break;
        case kPortByRef:
            if (data == nullptr || length == 0) {
                rc = length == 0 ? 0 : -1;
            } else if (static_cast<uint32_t>(q.committed + q.staged) >= kTxQueueEntries) {
                rc = -1;
            } else {
                Stage(q, kTxByRef, static_cast<const uint8_t*>(data), length);
                rc = static_cast<int>(length);
            }
            break;
        case kPortCommit:
            if (q.staged <= 0) {
                rc = -1;
            } else {
                q.committed += q.staged;
                q.staged = 0;
                q.kept = 0;
                q.commitEnd = q.stageIdx;
                rc = q.committed;
            }
            break;
        case kPortDiscard:
            Discard(q);
            rc = 0;
            break;
        case kPortMark:
            Mark(q);
            rc = 0;
            break;
        case kPortRollback:
            DropAbove(q, q.kept);
            rc = 0;
            break;
        case kPortTransmit:
            rc = Transmit(port);
            break;
        default:
            rc = -1;
            break;
    }
    pthread_mutex_unlock(&port->mutex);
    return rc;
}

namespace scpi {

size_t PortTakeCommitted(RemotePort* port, std::string* out) {
    if (port == nullptr) return 0;
    pthread_mutex_lock(&port->mutex);
    ScpiTxQueue& q = port->txq;
    size_t taken = 0;
    for (int32_t i = 0; i < q.committed; ++i) {
        const ScpiTxEntry& e = q.entries[Slot(q.readIdx + static_cast<uint32_t>(i))];
        const size_t skip = i == 0 ? static_cast<size_t>(q.sent) : 0;
        out->append(reinterpret_cast<const char*>(e.data) + skip, e.length - skip);
        taken += e.length - skip;
    }
    Consume(port, taken);
    pthread_mutex_unlock(&port->mutex);
    return taken;
}

}  // namespace scpi
