#include "scpi/status/scpi_status.h"

#include "core/control/sys_event.h"

namespace {

bool Valid(const ScpiStatusBlock* block) {
    return block != nullptr && (block->chanFlags.load(std::memory_order_relaxed) & kChanValid) != 0;
}

int Set16(ScpiStatusBlock* block, std::atomic<uint16_t> ScpiStatusBlock::*field, uint16_t value) {
    if (!Valid(block)) return -1;
    block->*field = value;
    return value;
}

int Get16(const ScpiStatusBlock* block, std::atomic<uint16_t> ScpiStatusBlock::*field) {
    if (!Valid(block)) return -1;
    return block->*field;
}

int GroupSet(ScpiStatusBlock* block, ScpiRegGroup ScpiStatusBlock::*group, uint32_t selector,
             uint16_t value) {
    if (!Valid(block) || selector > kRegCond) return -1;
    ScpiRegGroup& g = block->*group;
    switch (selector) {
        case kRegEnable:
            g.enable = value;
            break;
        case kRegEvent:
            g.event = value;
            break;
        case kRegNtr:
            g.ntr = value;
            break;
        case kRegPtr:
            g.ptr = value;
            break;
        case kRegCond: {
            const uint16_t old = g.cond.exchange(value, std::memory_order_relaxed);
            const auto latched = static_cast<uint16_t>((g.ptr & (value & ~old)) | (g.ntr & (~value & old)));
            if (latched != 0) g.event.fetch_or(latched, std::memory_order_relaxed);
            break;
        }
    }
    return value;
}

int GroupGet(const ScpiStatusBlock* block, ScpiRegGroup ScpiStatusBlock::*group, uint32_t selector) {
    if (!Valid(block) || selector > kRegCond) return -1;
    const ScpiRegGroup& g = block->*group;
    switch (selector) {
        case kRegEnable:
            return g.enable;
        case kRegEvent:
            return g.event;
        case kRegNtr:
            return g.ntr;
        case kRegPtr:
            return g.ptr;
        default:
            return g.cond;
    }
}

}  // namespace

int scpiSreSet(ScpiStatusBlock* block, uint16_t value) {
    return Set16(block, &ScpiStatusBlock::sre, value);
}
int scpiSreGet(const ScpiStatusBlock* block) {
    return Get16(block, &ScpiStatusBlock::sre);
}
int scpiEseSet(ScpiStatusBlock* block, uint16_t value) {
    return Set16(block, &ScpiStatusBlock::ese, value);
}
int scpiEseGet(const ScpiStatusBlock* block) {
    return Get16(block, &ScpiStatusBlock::ese);
}
int scpiEsrSet(ScpiStatusBlock* block, uint16_t value) {
    return Set16(block, &ScpiStatusBlock::esr, value);
}
int scpiEsrGet(const ScpiStatusBlock* block) {
    return Get16(block, &ScpiStatusBlock::esr);
}
int scpiGetStatusByte(const ScpiStatusBlock* block) {
    return Get16(block, &ScpiStatusBlock::stb);
}

void scpiOpcArm(ScpiStatusBlock* block, uint64_t ticket) {
    if (!Valid(block)) return;
    block->opcTicket.store(ticket, std::memory_order_relaxed);
    block->opcArmed.store(true, std::memory_order_release);
    scpiOpcPoll(block);
}
void scpiOpcDisarm(ScpiStatusBlock* block) {
    if (Valid(block)) block->opcArmed.store(false, std::memory_order_relaxed);
}
void scpiOpcPoll(ScpiStatusBlock* block) {
    if (!Valid(block) || !block->opcArmed.load(std::memory_order_acquire) ||
        IsOpcBusy(block->opcTicket.load(std::memory_order_relaxed)) != 0)
        return;
    // Taken by one caller only: the menu/control thread's *OPC and the channel's status update may meet.
    if (block->opcArmed.exchange(false, std::memory_order_relaxed)) block->esr |= kEsrOpc;
}

int scpiQuesRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value) {
    return GroupSet(block, &ScpiStatusBlock::ques, selector, value);
}
int scpiOperRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value) {
    return GroupSet(block, &ScpiStatusBlock::oper, selector, value);
}
int scpiWarnRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value) {
    return GroupSet(block, &ScpiStatusBlock::warn, selector, value);
}
int scpiLockRegSet(ScpiStatusBlock* block, uint32_t selector, uint16_t value) {
    return GroupSet(block, &ScpiStatusBlock::lock, selector, value);
}
int scpiQuesRegGet(const ScpiStatusBlock* block, uint32_t selector) {
    return GroupGet(block, &ScpiStatusBlock::ques, selector);
}
int scpiOperRegGet(const ScpiStatusBlock* block, uint32_t selector) {
    return GroupGet(block, &ScpiStatusBlock::oper, selector);
}
int scpiWarnRegGet(const ScpiStatusBlock* block, uint32_t selector) {
    return GroupGet(block, &ScpiStatusBlock::warn, selector);
}
int scpiLockRegGet(const ScpiStatusBlock* block, uint32_t selector) {
    return GroupGet(block, &ScpiStatusBlock::lock, selector);
}

int scpiStatusBlockInit(ScpiStatusBlock* block) {
    if (block == nullptr) return -1;
    if (!Valid(block)) block->chanFlags.store(0, std::memory_order_relaxed);
    block->reqBits.store(0, std::memory_order_relaxed);
    block->reqValue = 0;
    block->sre = 0;
    block->stb = 0;
    block->ese = 0;
    block->esr = 0;
    block->opcArmed.store(false, std::memory_order_relaxed);
    block->opcTicket.store(0, std::memory_order_relaxed);
    if (Valid(block)) {
        // A channel that starts again (a LAN restart) keeps the semaphores a poster may be waiting on;
        // only the requests of the old channel go.
        while (sem_trywait(&block->reqSem) == 0) {
        }
        block->chanFlags.store(kChanValid, std::memory_order_release);
        return 0;
    }
    if (sem_init(&block->reqSem, 0, 0) != 0) return -1;
    if (sem_init(&block->doneSem, 0, 0) != 0) {
        sem_destroy(&block->reqSem);
        return -1;
    }
    block->chanFlags.fetch_or(kChanValid, std::memory_order_release);
    return 0;
}

void scpiStatusBlockDestroy(ScpiStatusBlock* block) {
    if (!Valid(block)) return;
    block->chanFlags.fetch_and(~kChanValid, std::memory_order_release);
    sem_destroy(&block->reqSem);
    sem_destroy(&block->doneSem);
}

uint32_t scpiStatusSetBits(ScpiStatusBlock* block, uint32_t bits) {
    if (block == nullptr) return 0;
    return (block->chanFlags.fetch_or(bits, std::memory_order_relaxed) | bits) & 0xFFu;
}

uint32_t scpiStatusClearBits(ScpiStatusBlock* block, uint32_t bits) {
    if (block == nullptr) return 0;
    return (block->chanFlags.fetch_and(~bits, std::memory_order_relaxed) & ~bits) & 0xFFu;
}

uint32_t scpiChanTakeActivity(ScpiStatusBlock* block) {
    if (block == nullptr) return 0;
    return block->chanFlags.fetch_and(~(kChanRxActivity | kChanTxActivity), std::memory_order_relaxed) &
           0xFFu;
}

int scpiChanIsEnabled(const ScpiStatusBlock* block) {
    return block != nullptr && (block->chanFlags.load(std::memory_order_relaxed) & kChanEnabled) ? 1 : 0;
}

int scpiStatusIsConnected(const ScpiStatusBlock* block) {
    return block != nullptr && (block->chanFlags.load(std::memory_order_relaxed) & kChanConnected) ? 1 : 0;
}
