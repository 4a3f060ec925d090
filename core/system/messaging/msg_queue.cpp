#include "core/system/messaging/msg_queue.h"

#include <sys/ipc.h>
#include <sys/msg.h>

#include <cstdlib>
#include <mutex>

namespace {

std::mutex g_queueInitLock;
bool g_removeAtExit = false;
key_t g_queueKey = IPC_PRIVATE;  // under g_queueInitLock
bool g_queueClosed = false;      // under g_queueInitLock

void RemoveAtExit() {
    core::MsgQueueRemove();
}

// The queue orders what a sender wrote before msgsnd against what the receiver reads after msgrcv
// (the kernel's own barriers), but ThreadSanitizer does not know that: every send bumps this word with
// release and every receive reads it with acquire, which gives the same order in terms it checks.
std::atomic<uint32_t> g_queueOrder{0};
// Sends whose message is in the queue: counted after the send, so that a poll that read the count and then
// found the queue empty knows that every message counted had been taken.
std::atomic<uint32_t> g_queued{0};

std::atomic<int32_t> g_sharedBufState{-1};  // -1 absent, 0 free, 1 claimed
void* g_sharedBuf = nullptr;
}  // namespace

std::atomic<int> g_MsgQueueId{-1};
sem_t g_IpcSems[3];

int MsgQueueInit() {
    // The main thread, the fieldbus thread and the Modbus thread all call this and get one queue. Each
    // instrument has its own queue, keyed to its root, so two instruments on one host never share one; a
    // queue of another root under the same key is never taken over.
    std::lock_guard<std::mutex> lock(g_queueInitLock);
    if (g_MsgQueueId.load() >= 0) return 0;
    if (g_queueClosed) return -1;
    int id = msgget(g_queueKey, IPC_CREAT | IPC_EXCL | 0660);
    if (id < 0) return -1;
    g_MsgQueueId.store(id);
    if (!g_removeAtExit) {
        std::atexit(RemoveAtExit);
        g_removeAtExit = true;
    }
    return 0;
}

int MsgQueueSend(SysMsg* msg, long type) {
    int id = g_MsgQueueId.load();
    if (id < 0 || msg == nullptr) return -1;
    msg->type = type;
    g_queueOrder.fetch_add(1, std::memory_order_release);
    if (msgsnd(id, msg, kSysMsgPayload, IPC_NOWAIT) != 0) return -1;
    g_queued.fetch_add(1, std::memory_order_release);
    return 0;
}

int MsgQueueRecv(SysMsg* msg, long type) {
    int id = g_MsgQueueId.load();
    if (id < 0 || msg == nullptr) return -1;
    msg->type = type;
    ssize_t n = msgrcv(id, msg, kSysMsgPayload, type, IPC_NOWAIT);
    if (n < 0) return -1;
    g_queueOrder.load(std::memory_order_acquire);
    return static_cast<int>(n);
}

int MsgQueueRecvIfSent(SysMsg* msg, long type, uint32_t* emptyAt) {
    // The count is read before the receive: a message queued after it bumps the count past *emptyAt.
    const uint32_t sends = g_queued.load(std::memory_order_acquire);
    if (sends == *emptyAt) return -1;
    const int n = MsgQueueRecv(msg, type);
    if (n < 0) *emptyAt = sends;
    return n;
}

int MsgQueueStat() {
    int id = g_MsgQueueId.load();
    if (id < 0) return -1;
    struct msqid_ds ds;
    return msgctl(id, IPC_STAT, &ds) == 0 ? 0 : -1;
}

int SharedBufInit() {
    if (g_sharedBufState.load() >= 0) return g_sharedBufState.load();
    g_sharedBuf = std::aligned_alloc(4, kSharedBufSize);
    g_sharedBufState.store(g_sharedBuf ? 0 : -1);
    return g_sharedBufState.load();
}

int SharedBufSize() {
    return g_sharedBufState.load() >= 0 ? static_cast<int>(kSharedBufSize) : -1;
}

void* SharedBufClaim() {
    // Several channel threads may claim at once: only one may win.
    int32_t expected = 0;
    return g_sharedBufState.compare_exchange_strong(expected, 1) ? g_sharedBuf : nullptr;
}

void SharedBufRelease() {
    int32_t expected = 1;
    g_sharedBufState.compare_exchange_strong(expected, 0);
}

int IpcSemInit() {
    for (int i : {2, 0, 1}) {
        if (sem_init(&g_IpcSems[i], 0, 0) != 0) return -1;
    }
    return 0;
}

namespace core {
int MsgQueueUseKey(key_t key) {
    std::lock_guard<std::mutex> lock(g_queueInitLock);
    g_queueKey = key;
    if (key == IPC_PRIVATE) return -1;
    int stale = msgget(key, 0);
    if (stale >= 0 && msgctl(stale, IPC_RMID, nullptr) != 0) return -1;
    return stale;
}

key_t MsgQueueKey() {
    std::lock_guard<std::mutex> lock(g_queueInitLock);
    return g_queueKey;
}

void MsgQueueRemove() {
    int id = g_MsgQueueId.exchange(-1);
    if (id >= 0) msgctl(id, IPC_RMID, nullptr);
}

void MsgQueueClose() {
    std::lock_guard<std::mutex> lock(g_queueInitLock);
    g_queueClosed = true;
    MsgQueueRemove();
}

void SharedBufFree() {
    g_sharedBufState.store(-1);
    std::free(g_sharedBuf);
    g_sharedBuf = nullptr;
}
}  // namespace core
