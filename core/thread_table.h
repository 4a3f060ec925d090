#pragma once
// The fourteen threads of the instrument, started from a static table, and the words through which
// the supervisor loop starts and stops the remote-interface threads.
#include <pthread.h>

#include <atomic>
#include <cstdint>

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

// The interface control word (0 idle, 1 stop request, 2 start request) and eight running words:
// 0 LAN connection serving, 1 USB device, 2 RS232 active, 3 USB-GPIB, 4 web port 80, 5 web port 81,
// 6 fieldbus, 7 Modbus enable.
enum RunningWord : int {
    kRunLanConn = 0,
    kRunUsbDev = 1,
    kRunRs232 = 2,
    kRunUsbGpib = 3,
    kRunWeb80 = 4,
    kRunWeb81 = 5,
    kRunFieldbus = 6,
    kRunModbus = 7,
};
enum IfaceControl : uint32_t { kIfaceIdle = 0, kIfaceStop = 1, kIfaceStart = 2 };

struct ThreadCtl {
    std::atomic<uint32_t> control;
    std::atomic<uint32_t> running[8];
};
extern ThreadCtl g_ThreadCtl;

// 1 when the LAN restart listener has accepted a restart connection.
extern std::atomic<uint32_t> g_LanRestartReq;

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
void ResetThreadOps();

// For the entries of threads that only honour their running word so far: sets the word, waits in
// short sleeps until the interface control word asks the interface threads to stop, clears it.
void IdleWhileRunning(RunningWord word);

const char* PolicyName(uint32_t policy);

// The name a thread carries (top -H, /proc/<pid>/task/<tid>/comm), which the system allows 15
// characters: the table name, without its "Thread" when it is longer. out holds 16 bytes.
void ThreadName(const char* tableName, char* out);

}  // namespace core
