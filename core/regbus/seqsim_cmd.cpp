// Sequencer command and mode registers.
#include <cstddef>

#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_write.h"
#include "platform/stage/reg_map.h"

std::atomic<uint16_t> g_SeqSimCmd{0};

namespace {

enum : uint16_t { kCmdRun = 1, kCmdStop = 2, kCmdHold = 4, kCmdBranch1 = 8, kCmdBranch2 = 16 };

// SEQ/SIM mode 0, 1, 2 -> sequencer mode code.
constexpr int32_t kSeqSimModeCodes[] = {2, 0, 1};

// The command word is process-wide: the low byte is replaced and the high byte kept in one atomic step, so
// a change of the high byte made meanwhile is not lost.
int SendCommand(uint16_t command) {
    uint16_t old = g_SeqSimCmd.load(std::memory_order_relaxed);
    uint16_t word;
    do {
        word = static_cast<uint16_t>((old & 0xFF00u) | command);
    } while (!g_SeqSimCmd.compare_exchange_weak(old, word, std::memory_order_relaxed));
    return BusReg_WriteIntEx(0, regmap::kSeqSimCmd, word);
}

}  // namespace

int BusReg_SeqSimRun() {
    return SendCommand(kCmdRun);
}
int BusReg_SeqSimStop() {
    return SendCommand(kCmdStop);
}
int BusReg_SeqSimHold() {
    return SendCommand(kCmdHold);
}
int BusReg_SeqSimBranch1() {
    return SendCommand(kCmdBranch1);
}
int BusReg_SeqSimBranch2() {
    return SendCommand(kCmdBranch2);
}

int BusReg_SetSeqSimMode(int32_t mode) {
    int32_t code =
        mode >= 0 && static_cast<size_t>(mode) < std::size(kSeqSimModeCodes) ? kSeqSimModeCodes[mode] : 0;
    return BusReg_WriteIntEx(0, regmap::kSeqSimMode, code);
}
