// The word transfers of the calibration pages; the pages themselves are kept by the calibration.
#include "core/regbus/bus_internal.h"
#include "core/regbus/cal_layout.h"
#include "platform/stage/reg_map.h"

uint16_t BusReg_ReadCalWord(int page, int word) {
    if (g_PhaseFault.load(std::memory_order_relaxed) != 0) return 0;
    if (!regbus::CalPageValid(page) || !regbus::CalWordValid(word)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    uint32_t v =
        regbus::Read32Locked(regmap::kCalPage.at(static_cast<uint32_t>(page)), static_cast<uint32_t>(word));
    return static_cast<uint16_t>(v & 0xFFFFu);
}

int BusReg_WriteCalWord(uint16_t value, int word, int page) {
    if (g_PhaseFault.load(std::memory_order_relaxed) != 0) return 0;
    if (!regbus::CalPageValid(page) || !regbus::CalWordValid(word)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    regbus::Write32Locked(regmap::kCalPage.at(static_cast<uint32_t>(page)), static_cast<uint32_t>(word),
                          value);
    return 0;
}
