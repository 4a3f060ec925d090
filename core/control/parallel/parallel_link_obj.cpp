// The link object that idles or runs the master or the slave object, and the switch into a role.
#include "core/control/parallel/parallel_objects.h"
#include "core/params/access/key_entry.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"

namespace core {
// Parts of ParallelObjectsReset, the tests' clean start.
void ParallelMasterReset();
void ParallelSlaveReset();
}  // namespace core

namespace {
constexpr uint32_t kInit = 9001, kIdle = 9002, kRunMaster = 9003, kRunSlave = 9004;
constexpr int32_t kMasterDone = 9111, kSlaveDone = 9209;
// Time the role being left gets to end before the new one starts.
constexpr uint32_t kRoleChangeMs = 700;

int32_t LinkInit(StepRow* row, uint32_t msg) {
    if (msg == kInit) StepObjPostState(2, kIdle, row);
    return static_cast<int32_t>(msg);
}

int32_t LinkRun(StepRow* row, uint32_t msg) {
    if (msg == kRunMaster && ParallelMaster_Step() == kMasterDone) StepObjPostMsg(kIdle, row);
    if (msg == kRunSlave && ParallelSlave_Step() == kSlaveDone) StepObjPostMsg(kIdle, row);
    return static_cast<int32_t>(msg);
}

StepRow g_linkRows[kStepRows] = {
    {{0}, {0}, StepRowIdle}, {{0}, {0}, LinkInit},    {{0}, {0}, LinkRun},
    {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle}, {{0}, {0}, StepRowIdle},
};

// Only an idle link object takes a start; the request is a message the timer thread picks up.
int32_t Start(uint32_t msg) {
    if (g_ParallelLinkObj.state.load(std::memory_order_acquire) != 2 ||
        g_ParallelLinkObj.msg.load(std::memory_order_acquire) != kIdle || g_linkRows[2].msg.load() != 0)
        return -1;
    StepObjPostMsg(msg, &g_linkRows[2]);
    return kIdle;
}
}  // namespace

StepObj g_ParallelLinkObj{{1}, {kInit}, g_linkRows};

int32_t core::ParallelRoleIdle(StepRow* row, uint32_t msg, uint32_t start, uint32_t first,
                               std::atomic<uint8_t>& flags) {
    if (msg == start) {
        flags.store(0, std::memory_order_relaxed);
        StepObjPostState(2, first, row);
    }
    return static_cast<int32_t>(msg);
}

void ParallelLink_Step() {
    StepObjRun(&g_ParallelLinkObj);
}

int32_t ParallelMaster_Start() {
    return Start(kRunMaster);
}

int32_t ParallelSlave_Start() {
    return Start(kRunSlave);
}

int32_t ParallelWaitConnect(int32_t role) {
    if (role != 0 && role != 1) return 0;
    menuResetEdit();
    if (role == 1) {
        ParallelSlave_RequestRestart();
        plat::SleepMs(kRoleChangeMs);
        ShowMessage(2, "Master Wait Connecting..");
        return ParallelMaster_Start();
    }
    ParallelMaster_RequestRestart();
    plat::SleepMs(kRoleChangeMs);
    ShowMessageHold("Slave Wait Connecting..");
    return ParallelSlave_Start();
}

void core::ParallelObjectsReset() {
    StepObjRewind(&g_ParallelLinkObj, 1, kInit);
    ParallelMasterReset();
    ParallelSlaveReset();
}
