#pragma once
// The System V message queue through which interface threads hand work to the menu/control thread,
// the file-transfer buffer that the SCPI file commands borrow, and the three process semaphores.
#include <semaphore.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

// One queue message: a type and a payload wide enough for a pointer on a 64-bit host.
struct SysMsg {
    long type;
    uint32_t word0;  // 0 for a set command; the object index (11) or register value (12)
    uint32_t word1;
    uintptr_t ptr;  // a set command's interface
};
constexpr size_t kSysMsgPayload = sizeof(SysMsg) - sizeof(long);

enum SysMsgType : long {
    kMsgSetCommand = 10,
    kMsgSdoBridge = 11,
    kMsgModbusHolding = 12,
    kMsgCompletionBase = 100,  // + channel id: the completion of a handed-over set command
};

extern std::atomic<int> g_MsgQueueId;  // -1 when absent

int MsgQueueInit();
int MsgQueueSend(SysMsg* msg, long type);
int MsgQueueRecv(SysMsg* msg, long type);
// A poll of the queue that costs no system call while nothing was sent since it last found no message of
// the type: *emptyAt holds the send count of that time (start it at kMsgQueueNeverPolled). Only the
// process's own senders are counted, and only one thread polls one type with one emptyAt.
inline constexpr uint32_t kMsgQueueNeverPolled = 0xFFFFFFFFu;
int MsgQueueRecvIfSent(SysMsg* msg, long type, uint32_t* emptyAt);
int MsgQueueStat();

constexpr uint32_t kSharedBufSize = 1573888;
int SharedBufInit();
int SharedBufSize();
void* SharedBufClaim();
void SharedBufRelease();

extern sem_t g_IpcSems[3];
int IpcSemInit();

namespace core {
// Keys the queue that MsgQueueInit creates to the instrument root (the root's lock must be held). A queue
// already there under that key was left by a controller of this root that was killed: it is removed.
// Returns its id, or -1 when there was none. Without a key the queue is private to the process.
int MsgQueueUseKey(key_t key);
key_t MsgQueueKey();
// Removes the process's queue (at exit: a queue must not outlive its instrument).
void MsgQueueRemove();
// Removes the queue for good as the process ends: a thread that is still starting and asks for the queue
// afterwards gets none, so none is left behind.
void MsgQueueClose();
// Frees the file-transfer buffer and returns it to absent (tests).
// Tests start each case from a clean state through it.
void SharedBufFree();
}  // namespace core
