#pragma once
// The System V message queue through which interface threads hand work to the menu/control thread,
// the file-transfer buffer that the SCPI file commands borrow, and the three process semaphores.
#include <semaphore.h>

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
int MsgQueueStat();

constexpr uint32_t kSharedBufSize = 1573888;
int SharedBufInit();
int SharedBufSize();
void* SharedBufClaim();
void SharedBufRelease();

extern sem_t g_IpcSems[3];
int IpcSemInit();

namespace core {
// Removes the process's queue (at exit: every instrument has a private one that must not outlive it).
void MsgQueueRemove();
// Frees the file-transfer buffer and returns it to absent (tests).
void SharedBufFree();
}  // namespace core
