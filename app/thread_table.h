#pragma once
// The fourteen threads of the instrument, started from a static table.
#include <pthread.h>

#include <atomic>
#include <cstdint>

#include "core/system/links/thread_ctl.h"

using ThreadEntry = void* (*)(void*);

enum ThreadPolicy : uint32_t { kPolicyFifo = 1, kPolicyRr = 2 };

struct ThreadRow {
    ThreadEntry entry;
    uint32_t priority;
    uint32_t policy;
    const char* name;  // for the start-up log; the thread carries it too (see ThreadName)
};

constexpr int kThreadCount = 14;
extern const ThreadRow ThreadTable[kThreadCount];

// Creates one thread (joinable; with --realtime also the given policy and priority). Keeps the handles
// of the LAN connection and accept threads for the LAN restart.
void StartThread(ThreadEntry entry, uint32_t policy, uint32_t priority);
// Starts the table's threads in row order.
void StartThreadTable();

namespace core {

// A kept thread handle and whether it has been joined since it was created.
struct KeptThread {
    pthread_t handle;
    bool started;
    bool joined;
};
extern KeptThread g_LanConnThread;
extern KeptThread g_LanAcceptThread;

// Thread operations, replaceable by tests (a null name operation names nothing).
struct ThreadOps {
    int (*create)(pthread_t*, const pthread_attr_t*, ThreadEntry, void*);
    int (*cancel)(pthread_t);
    int (*join)(pthread_t, void**);
    int (*detach)(pthread_t);
    int (*name)(pthread_t, const char*);
};
extern ThreadOps g_ThreadOps;
// Tests start each case from a clean state through it.
void ResetThreadOps();

const char* PolicyName(uint32_t policy);

// The name a thread carries (top -H, /proc/<pid>/task/<tid>/comm), which the system allows 15
// characters: the table name, without its "Thread" when it is longer. out holds 16 bytes.
void ThreadName(const char* tableName, char* out);

}  // namespace core
