#include "scpi/channels/set_command_handover.h"

#include "core/system/messaging/msg_queue.h"
#include "platform/host/clock.h"
#include "platform/host/wake_event.h"
#include "scpi/channels/scpi_interface.h"

#include <utility>

namespace {

// Handlers run on the menu/control thread only; each run starts the request afresh.
thread_local bool t_afterPass = false;
thread_local ScpiHandoverCheck t_check = nullptr;
thread_local bool t_outputChange = true;

int32_t RunSetCommand(ScpiInterface* ifc) {
    t_afterPass = false;
    t_check = nullptr;
    scpi::RunSetHandler(ifc);
    t_outputChange = scpi::MayChangeOutput(ifc);
    return t_afterPass ? kScpiRunAfterPass : kScpiRunDone;
}

constexpr ScpiHandoverOps kHandoverOps{RunSetCommand};

// A tag: the ticket in bits 8-31, the channel id in bits 0-7. A hand-over word: the ticket in bits
// 8-31, the stage in bits 0-7; 0 when no command of the channel is handed over.
constexpr uint32_t kChannelMask = 0xFFu;
constexpr uint32_t kStagePosted = 1, kStageRunning = 2, kStageRan = 3;
constexpr uint32_t kChannelSlots = 16;

struct ChannelSlot {
    std::atomic<uint32_t> word{0};
    std::atomic<uint64_t> changeTicket{0};  // the last change of the channel's commands
    uint64_t postedAtMs = 0;                // the channel's own thread only
    plat::WakeEvent completed;
};
// Never destroyed (the wake-ups are waited on until the process ends).
ChannelSlot* const g_slots = new ChannelSlot[kChannelSlots];
plat::WakeEvent& g_posted = *new plat::WakeEvent;
std::atomic<uint32_t> g_lastTicket{0};

uint32_t NextTicketBits() {
    uint32_t bits;
    do {
        bits = g_lastTicket.fetch_add(1, std::memory_order_relaxed) + 1;
        bits <<= 8;  // 24 bits of ticket; 0 is never one
    } while (bits == 0);
    return bits;
}

ChannelSlot* SlotOf(uint32_t channelId) {
    return channelId < kChannelSlots ? &g_slots[channelId] : nullptr;
}

}  // namespace

std::atomic<const ScpiHandoverOps*> g_ScpiHandoverOps{&kHandoverOps};

int ScpiHandoverPost(ScpiInterface* ifc, uint32_t channelId) {
    ChannelSlot* slot = SlotOf(channelId);
    if (slot == nullptr) return -1;
    const uint32_t ticket = NextTicketBits();
    slot->word.store(ticket | kStagePosted, std::memory_order_release);
    slot->postedAtMs = plat::NowMs();
    SysMsg msg{};
    msg.word0 = 0;
    msg.word1 = ticket | channelId;
    msg.ptr = reinterpret_cast<uintptr_t>(ifc);
    if (MsgQueueSend(&msg, kMsgSetCommand) == 0) {
        g_posted.Signal();
        return 0;
    }
    slot->word.store(0, std::memory_order_relaxed);
    return -1;
}

int ScpiHandoverPoll(uint32_t channelId, uint32_t* result) {
    ChannelSlot* slot = SlotOf(channelId);
    if (slot == nullptr) return 0;
    SysMsg msg{};
    while (MsgQueueRecv(&msg, kMsgCompletionBase + static_cast<long>(channelId)) >= 0) {
        const uint32_t word = slot->word.load(std::memory_order_acquire);
        // A late completion of a command given up.
        if (word == 0 || (msg.word1 & ~kChannelMask) != (word & ~kChannelMask)) continue;
        slot->word.store(0, std::memory_order_relaxed);
        if (result != nullptr) *result = msg.word0;
        return 1;
    }
    if (plat::NowMs() - slot->postedAtMs < kScpiHandoverWaitMs) return 0;
    // Given up. Not while the handler runs on the context; a command not yet claimed is withdrawn.
    uint32_t word = slot->word.load(std::memory_order_acquire);
    if ((word & kChannelMask) == kStageRunning) return 0;
    if (!slot->word.compare_exchange_strong(word, 0, std::memory_order_acq_rel)) return 0;
    if (result != nullptr) *result = 1;
    return -1;
}

void ScpiHandoverWaitCompletion(uint32_t channelId, uint32_t waitMs) {
    ChannelSlot* slot = SlotOf(channelId);
    if (slot != nullptr) slot->completed.WaitUntilUs(plat::NowUs() + uint64_t{waitMs} * 1000u);
}

bool ScpiHandoverWaitPosted(uint64_t deadlineUs) {
    return g_posted.WaitUntilUs(deadlineUs);
}

bool ScpiHandoverClaim(const SysMsg& msg) {
    ChannelSlot* slot = SlotOf(msg.word1 & kChannelMask);
    if (slot == nullptr) return false;
    const uint32_t ticket = msg.word1 & ~kChannelMask;
    uint32_t expected = ticket | kStagePosted;
    return ticket != 0 &&
           slot->word.compare_exchange_strong(expected, ticket | kStageRunning, std::memory_order_acquire);
}

void ScpiHandoverRan(uint32_t tag) {
    ChannelSlot* slot = SlotOf(tag & kChannelMask);
    if (slot == nullptr) return;
    uint32_t expected = (tag & ~kChannelMask) | kStageRunning;
    slot->word.compare_exchange_strong(expected, (tag & ~kChannelMask) | kStageRan, std::memory_order_release,
                                       std::memory_order_relaxed);
}

int ScpiHandoverComplete(uint32_t tag, uint32_t result) {
    SysMsg done{};
    done.word0 = result;
    done.word1 = tag;
    if (MsgQueueSend(&done, kMsgCompletionBase + static_cast<long>(tag & kChannelMask)) != 0) return -1;
    if (ChannelSlot* slot = SlotOf(tag & kChannelMask)) slot->completed.Signal();
    return 0;
}

void ScpiHandoverCompleteAfterPass() {
    t_afterPass = true;
}

void ScpiHandoverCheckAtCompletion(bool (*check)()) {
    t_check = check;
}

ScpiHandoverCheck ScpiHandoverTakeCheck() {
    return std::exchange(t_check, nullptr);
}

bool ScpiHandoverTakeOutputChange() {
    return std::exchange(t_outputChange, true);
}

void ScpiHandoverNoteChange(uint32_t tag, uint64_t ticket) {
    if (ChannelSlot* slot = SlotOf(tag & kChannelMask))
        slot->changeTicket.store(ticket, std::memory_order_release);
}

uint64_t ScpiHandoverLastChange(uint32_t channelId) {
    const ChannelSlot* slot = SlotOf(channelId);
    return slot != nullptr ? slot->changeTicket.load(std::memory_order_acquire) : 0;
}

void ScpiHandoverReset() {
    for (uint32_t i = 0; i < kChannelSlots; ++i) {
        g_slots[i].word.store(0, std::memory_order_relaxed);
        g_slots[i].changeTicket.store(0, std::memory_order_relaxed);
    }
}
