#pragma once
// The system state object: a ring of eight system events (factory default, reset of the output
// settings, operation-complete wait tick) taken one per step by the supervisor loop, and the system
// status predicates.
#include <atomic>
#include <cstdint>

#include "core/system/util/step_obj.h"

enum SysEventId : uint32_t {
    kSysEventNone = 0,
    kSysEventFactoryDefault = 1,
    kSysEventResetOutput = 2,
    kSysEventOpcTick = 3,
};

constexpr int kSysEventSlots = 8;

// The ring: 8 slots (0 = empty), write and read indices 0-7, and the last event taken.
struct SysEventRing {
    std::atomic<uint32_t> slots[kSysEventSlots];
    std::atomic<uint32_t> writeIdx;
    std::atomic<uint32_t> readIdx;
    std::atomic<uint32_t>* writePtr;
    std::atomic<uint32_t>* readPtr;
    std::atomic<uint32_t> lastEvent;
};

extern StepObj g_SysEventObj;
extern SysEventRing g_SysEventRing;

// System flag byte: bit 1 a reset is running, bit 2 an operation-complete wait is pending.
extern std::atomic<uint8_t> g_SysFlags;
constexpr uint8_t kSysFlagResetRunning = 1u << 1;
constexpr uint8_t kSysFlagOpcPending = 1u << 2;
extern std::atomic<int32_t> g_OpcCountdown;
// Loaded by SetHoldCountdown; counted down by the service that holds off while it is nonzero.
extern std::atomic<uint32_t> g_HoldCountdown;

// Services of higher layers that the resets run, handed over at start-up: the run-time re-initialisation
// and the unit configuration of the panel, the RS232 channel's restart. One that is absent is skipped.
struct SysEventHooks {
    void (*initRuntimeState)();
    void (*parallelConfigUnits)();
    void (*uartChannelRestart)();
    // Work a command started that is not finished yet (a SEQ/SIM preparation): *OPC? and *WAI wait for it.
    bool (*operationPending)();
};
void SysEvent_SetHooks(const SysEventHooks& hooks);

int32_t SysEvent_Init(StepRow* row, uint32_t msg);
int32_t SysEvent_Handle(StepRow* row, uint32_t msg);
int32_t SysEvent_Run();
uint32_t SysEvent_Push(uint32_t event);
uint32_t SysEvent_Pop();
// 1 while the object has work for its next steps: an event queued, an operation-complete wait counting,
// a reset running or its end not yet reported.
uint32_t SysEvent_HasWork();
// The supervisor's rest between idle passes: until an event is pushed (true) or the instrument clock
// reads deadlineUs (false).
bool SysEvent_WaitUntilUs(uint64_t deadlineUs);
// The saving side has cleared a reset's settings-save request: the reset waiting for it goes on at once
// instead of at its next 1 s step.
void SysEvent_SaveRequestTaken();

void FactoryDefaultStart();
void ResetDefaultStart();
uint32_t OpcWaitStart();
uint32_t IsOpcPending();
uint32_t IsSystemReady();
uint32_t IsSystemBusy();
// What *OPC?, *OPC and *WAI wait for: the system busy, an operation a command started still pending (a
// SEQ/SIM preparation), or the change of the channel's last ticket not yet taken up by the output
// (output_pending.h).
uint32_t IsOpcBusy(uint64_t ticket);
// The services, the menu/control thread and the SCPI handlers hold the services off for a while.
void SetHoldCountdown(uint32_t n);

namespace core {
// Puts the system object and its ring back to their state at process start (tests).
// Tests start each case from a clean state through it.
void SysEventReset();
}  // namespace core
