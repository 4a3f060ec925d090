#include "app/thread_table.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/timer_thread.h"
#include "engine/run/seqsim_runner.h"
#include "panel/gui_thread.h"
#include "panel/keys/key_thread.h"
#include "panel/menu_thread.h"
#include "platform/host/clock.h"
#include "platform/host/options.h"
#include "remote/fieldbus.h"
#include "remote/web_server.h"
#include "scpi/channels/scpi_threads.h"

const ThreadRow ThreadTable[kThreadCount] = {
    {GuiThread, 13, kPolicyRr, "GuiThread"},
    {TimerThread, 15, kPolicyRr, "TimerThread"},
    {WebServerThread80, 12, kPolicyRr, "WebServerThread80"},
    {WebServerThread81, 12, kPolicyRr, "WebServerThread81"},
    {SeqSimThread, 11, kPolicyRr, "SeqSimThread"},
    {UsbDevThread, 6, kPolicyRr, "UsbDevThread"},
    {LanRestartThread, 8, kPolicyRr, "LanRestartThread"},
    {LanConnThread, 9, kPolicyRr, "LanConnThread"},
    {LanAcceptThread, 2, kPolicyRr, "LanAcceptThread"},
    {UsbGpibThread, 4, kPolicyRr, "UsbGpibThread"},
    {KeyThread, 1, kPolicyFifo, "KeyThread"},
    {MenuThread, 10, kPolicyFifo, "MenuThread"},
    {FieldbusThread, 11, kPolicyRr, "FieldbusThread"},
    {ModbusThread, 3, kPolicyRr, "ModbusThread"},
};

namespace core {

KeptThread g_LanConnThread{};
KeptThread g_LanAcceptThread{};
// The supervisor's join does not wait: a LAN thread still busy with a command (an *OPC? that waits for
// the screen copy or the reset the supervisor itself carries out) is joined on a later pass, and the
// supervisor's own work goes on meanwhile instead of waiting for it for ever.
ThreadOps g_ThreadOps{pthread_create, pthread_cancel, pthread_tryjoin_np, pthread_detach, pthread_setname_np};

void ResetThreadOps() {
    g_ThreadOps =
        ThreadOps{pthread_create, pthread_cancel, pthread_tryjoin_np, pthread_detach, pthread_setname_np};
}

void ThreadName(const char* tableName, char* out) {
    constexpr size_t kMax = 15;
    std::string name = tableName != nullptr ? tableName : "";
    const size_t word = name.find("Thread");
    if (name.size() > kMax && word != std::string::npos) name.erase(word, 6);
    std::snprintf(out, kMax + 1, "%s", name.c_str());
}

const char* PolicyName(uint32_t policy) {
    switch (policy) {
        case kPolicyFifo:
            return "FIFO";
        case kPolicyRr:
            return "RR";
        default:
            return "OTHER";
    }
}

namespace {

const char* EntryName(ThreadEntry entry) {
    for (const ThreadRow& row : ThreadTable) {
        if (row.entry == entry) return row.name;
    }
    return "thread";
}

}  // namespace
}  // namespace core

void StartThread(ThreadEntry entry, uint32_t policy, uint32_t priority) {
    const bool realtime = plat::GetOptions().realtime;
    const char* name = core::EntryName(entry);
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) {
        perror("Attribute creation failed.\n");
        return;
    }
    if (pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_JOINABLE) != 0) {
        perror("Setting detached attribute failed.\n");
        pthread_attr_destroy(&attr);
        return;
    }
    if (realtime) {
        // The table's policy only takes effect with an explicit scheduler; inheriting would silently
        // run every thread at the creator's policy.
        pthread_attr_setinheritsched(&attr, PTHREAD_EXPLICIT_SCHED);
        if (pthread_attr_setschedpolicy(&attr, policy == kPolicyFifo ? SCHED_FIFO : SCHED_RR) != 0) {
            perror("Setting scheduling policy failed.\n");
            pthread_attr_destroy(&attr);
            return;
        }
        sched_param param;
        pthread_attr_getschedparam(&attr, &param);
        param.sched_priority = static_cast<int>(priority);
        if (pthread_attr_setschedparam(&attr, &param) != 0) {
            perror("Setting scheduling priority failed.\n");
            pthread_attr_destroy(&attr);
            return;
        }
    }
    pthread_t handle;
    int rc = core::g_ThreadOps.create(&handle, &attr, entry, nullptr);
    const char* applied = realtime ? "applied" : "not requested, default policy";
    if (rc == EPERM && realtime) {
        // Without the privilege for real-time policies the instrument still runs, at the default one.
        pthread_attr_setinheritsched(&attr, PTHREAD_INHERIT_SCHED);
        rc = core::g_ThreadOps.create(&handle, &attr, entry, nullptr);
        applied = "refused (no privilege), default policy";
    }
    pthread_attr_destroy(&attr);
    std::printf("thread %s: policy %s priority %u (%s)\n", name, core::PolicyName(policy), priority,
                rc == 0 ? applied : "not started");
    std::fflush(stdout);
    if (rc != 0) {
        errno = rc;
        perror("Thread creation failed.\n");
        return;
    }
    if (core::g_ThreadOps.name != nullptr) {
        char shortName[16];
        core::ThreadName(name, shortName);
        core::g_ThreadOps.name(handle, shortName);
    }
    if (entry == LanConnThread) {
        core::g_LanConnThread = core::KeptThread{handle, true, false};
    } else if (entry == LanAcceptThread) {
        core::g_LanAcceptThread = core::KeptThread{handle, true, false};
    } else {
        // Nobody joins the others: let an ended thread give its resources back.
        core::g_ThreadOps.detach(handle);
    }
}

void StartThreadTable() {
    for (const ThreadRow& row : ThreadTable)
        StartThread(row.entry, row.policy, row.priority);
}
