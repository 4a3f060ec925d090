#pragma once
// The parallel link's state objects: the link object (stepped every 20 ms by the timer thread) runs the
// master or the slave object; the master's handling of each slave frame; the switch into a role.
#include <atomic>
#include <cstdint>

#include "core/system/util/step_obj.h"

extern StepObj g_ParallelLinkObj;
extern StepObj g_ParallelMasterObj;
extern StepObj g_ParallelSlaveObj;

void ParallelLink_Step();
// 9002, or -1 when the link object is not idle: the master (9003) or the slave (9004) is started.
int32_t ParallelMaster_Start();
int32_t ParallelSlave_Start();
int32_t ParallelMaster_Step();
int32_t ParallelSlave_Step();

// Switches the unit into master (role 1) or slave (role 0) operation: ends the other role, waits 700 ms,
// shows the wait message and starts the role; the start request's result. Other roles do nothing (0).
int32_t ParallelWaitConnect(int32_t role);

// The master's handling of the next frame of slave n (1-5), whose receive counter copy was advanced.
void ParallelRelay(int n);
// Closes the popup and shows the text of slave event `code` (0-19); codes above 19 show nothing.
int ParallelSlaveMessage(int n, int32_t code);

namespace core {
// The protocol version every unit answers to the version request.
constexpr uint32_t kLinkVersion = 1060;
// The unit's hardware variant flag, which every unit of a system must share.
extern std::atomic<uint32_t> g_HwVariant;
// The most slaves the master saw during its last connect that failed for a missing slave (error 7).
extern std::atomic<uint32_t> g_ParallelMostSeen;
// Objects idle and records clear, as at start (tests).
// Tests start each case from a clean state through it.
void ParallelObjectsReset();
// The idle state of the master or slave object: a start clears the role's flag byte, so that a restart
// asked for before it does not end the new run, and moves to the run state with message `first`.
int32_t ParallelRoleIdle(StepRow* row, uint32_t msg, uint32_t start, uint32_t first,
                         std::atomic<uint8_t>& flags);
// One poll of slave n by the master: a new frame (the receive counter moved) is relayed; true when one was.
bool ParallelPollSlave(int n);
}  // namespace core
