#pragma once
// The IEEE 488.2 status model of one remote channel (status byte, service request enable, standard
// event status and its enable, four 16-bit register groups) and the mailbox through which other
// threads ask the channel thread to reset, enable, disable or reconfigure its port.
#include <semaphore.h>

#include <atomic>
#include <cstdint>

struct ScpiInterface;

constexpr uint32_t kScpiReqBlockSize = 60;

// One register group, stored ENABle, EVENt, PTRansition, NTRansition, CONDition. The menu/control thread
// publishes CONDition (latching EVENt) on every pass while the channel thread reads and clears them, so
// each word is atomic and EVENt is latched with one fetch_or.
struct ScpiRegGroup {
    std::atomic<uint16_t> enable;
    std::atomic<uint16_t> event;
    std::atomic<uint16_t> ptr;
    std::atomic<uint16_t> ntr;
    std::atomic<uint16_t> cond;
};

struct ScpiStatusBlock {
    uint32_t reserved;
    std::atomic<uint32_t> chanFlags;  // ScpiChanFlag bits
    std::atomic<uint32_t> reqBits;    // pending mailbox requests (ScpiRequest bits)
    uint32_t reqValue;
    uint8_t reqBlock[kScpiReqBlockSize];
    sem_t reqSem;
    sem_t doneSem;
    // Written by the channel thread and by set commands on the menu/control thread; the status byte is
    // also read there (the count of channels with an error pending).
    std::atomic<uint16_t> sre;
    std::atomic<uint16_t> stb;
    std::atomic<uint16_t> ese;
    std::atomic<uint16_t> esr;
    // An *OPC waits for the operations pending when it ran: its bit of ESR is still to be set.
    std::atomic<bool> opcArmed;
    std::atomic<uint64_t> opcTicket;  // the change a waiting *OPC waits for
    ScpiRegGroup ques;
    ScpiRegGroup oper;
    ScpiRegGroup warn;
    ScpiRegGroup lock;
};

enum ScpiChanFlag : uint32_t {
    kChanValid = 1u << 0,
    kChanRxActivity = 1u << 1,
    kChanTxActivity = 1u << 2,
    kChanEnabled = 1u << 3,
    kChanConnected = 1u << 4,
    kChanReplyWaiting = 1u << 5
};

enum ScpiRequest : uint32_t {
    kReqResetParser = 0x01,
    kReqEnable = 0x02,
    kReqDisable = 0x04,
    kReqResetPort = 0x08,
    kReqClearOutput = 0x10,
    kReqSetValue = 0x20,  // the stored 32-bit value goes to control 6 (GPIB address)
    kReqSetBlock = 0x40   // the stored 60-byte block goes to control 10 (terminal settings)
};

// Register selectors of the ...RegSet/Get accessors.
enum ScpiRegSelector : uint32_t { kRegEnable = 0, kRegEvent = 1, kRegNtr = 2, kRegPtr = 3, kRegCond = 4 };

// Standard event status bits.
enum ScpiEsrBit : uint16_t {
    kEsrOpc = 1u << 0,
    kEsrRqc = 1u << 1,
    kEsrQye = 1u << 2,
    kEsrDde = 1u << 3,
    kEsrExe = 1u << 4,
    kEsrCme = 1u << 5,
    kEsrUrq = 1u << 6,
    kEsrPon = 1u << 7
};

// How long a poster waits for the channel to take its request, in instrument milliseconds.
constexpr uint32_t kScpiMailboxWaitMs = 1000;

// Plain 16-bit accessors; -1 when the block is not valid. The setters return the value written.
int scpiSreSet(ScpiStatusBlock* block, uint16_t value);
int scpiSreGet(const ScpiStatusBlock* block);
int scpiEseSet(ScpiStatusBlock* block, uint16_t value);
int scpiEseGet(const ScpiStatusBlock* block);
int scpiEsrSet(ScpiStatusBlock* block, uint16_t value);
int scpiEsrGet(const ScpiStatusBlock* block);
int scpiGetStatusByte(const ScpiStatusBlock* block);

// *OPC: the operation-complete bit of ESR is set once no operation is pending (IsOpcBusy) for the
// channel's change of the ticket given, at once when none is. *CLS cancels a waiting *OPC. scpiOpcPoll
// sets the bit of a waiting *OPC whose operations are done; the status byte update asks it, so that
// *ESR? and *STB? see it as *OPC? would.
void scpiOpcArm(ScpiStatusBlock* block, uint64_t ticket);
void scpiOpcDisarm(ScpiStatusBlock* block);
void scpiOpcPoll(ScpiStatusBlock* block);

// Register groups. Writing CONDition latches its transitions into EVENt through PTR and NTR.
int scpiQuesRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value);
int scpiOperRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value);
int scpiWarnRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value);
int scpiLockRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value);
int scpiQuesRegGet(const ScpiStatusBlock* block, uint32_t selector);
int scpiOperRegGet(const ScpiStatusBlock* block, uint32_t selector);
int scpiWarnRegGet(const ScpiStatusBlock* block, uint32_t selector);
int scpiLockRegGet(const ScpiStatusBlock* block, uint32_t selector);

// Updates ESR from the error of the command just finished and recomputes the status byte; returns
// the RQS bit (0x40 or 0).
int scpiUpdateStatusByte(ScpiInterface* ifc);

// Mailbox. The poster blocks until the channel thread has handled the request; -1 when the block is
// not valid or the channel did not take the request in time (it stays pending and is handled when the
// channel runs).
int scpiPostInterfaceRequest(ScpiStatusBlock* block, uint32_t bits, uintptr_t argument);
// Channel side, once per pass: handles pending requests in their fixed order.
void scpiMailboxPoll(ScpiInterface* ifc);
void scpiMailboxDone(ScpiStatusBlock* block);

// Clears flags, requests and SRE/STB/ESE/ESR (the register groups keep their values), makes both
// semaphores and marks the block valid; -1 when a semaphore cannot be made. A block that is valid
// already keeps its semaphores (pending requests are dropped).
int scpiStatusBlockInit(ScpiStatusBlock* block);
// Tests free the status blocks they made through it.
void scpiStatusBlockDestroy(ScpiStatusBlock* block);

// Channel flags.
uint32_t scpiStatusSetBits(ScpiStatusBlock* block, uint32_t bits);
uint32_t scpiStatusClearBits(ScpiStatusBlock* block, uint32_t bits);
// Tests read a channel's activity and connection through these.
uint32_t scpiChanTakeActivity(ScpiStatusBlock* block);
int scpiChanIsEnabled(const ScpiStatusBlock* block);
int scpiStatusIsConnected(const ScpiStatusBlock* block);
