#include "core/control/calibration/cal_page.h"

#include <algorithm>

#include "core/regbus/bus_transfer.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

namespace regbus {
namespace {

uint16_t g_calPages[kCalPageCount][kCalPageWords];

constexpr int kReadAttempts = 3;

}  // namespace

uint16_t* CalPage(int page) {
    return CalPageValid(page) ? g_calPages[page] : nullptr;
}

bool CalPageChecksumOk(const uint16_t* page) {
    uint16_t sum = 0;
    for (int i = 0; i < kCalChecksumWord; ++i)
        sum = static_cast<uint16_t>(sum + page[i]);
    return page[kCalChecksumWord] != 0 && page[kCalChecksumWord] == sum;
}

}  // namespace regbus

int BusReg_ReadCalPage(int page) {
    uint16_t* table = regbus::CalPage(page);
    if (table == nullptr) return 1;
    bool ok = false;
    // With a faulty phase module nothing is read: the page table keeps what it holds.
    if (g_PhaseFault.load(std::memory_order_relaxed) == 0) {
        plat::SleepMs(10);
        uint16_t read[regbus::kCalPageWords] = {};
        for (int attempt = 0; attempt < regbus::kReadAttempts && !ok; ++attempt) {
            for (int w = 0; w <= regbus::kCalChecksumWord; ++w)
                read[w] = BusReg_ReadCalWord(page, w);
            ok = regbus::CalPageChecksumOk(read);
        }
        // Only a page that passed its checksum replaces the one in memory.
        if (ok) std::copy(read, read + regbus::kCalChecksumWord + 1, table);
    }
    SysStatusClear(kSysCalPageRead);
    return ok ? 0 : 1;
}

int BusReg_WriteCalPage(int write, int page) {
    const uint16_t* table = regbus::CalPage(page);
    if (table == nullptr || !regbus::CalPageChecksumOk(table)) return 1;
    if (write == 1) {
        // A word lost on the way shows when the page is read back and its checksum checked.
        for (int w = 0; w <= regbus::kCalChecksumWord; ++w)
            (void)BusReg_WriteCalWord(table[w], w, page);
    }
    return 0;
}
