#include "screens/output/startup_screen.h"

#include <cstdio>

#include "core/regbus/regbus.h"
#include "core/system/stage_status.h"
#include "platform/reg_map.h"

std::atomic<uint32_t> g_StartupFailed{0};
std::atomic<uint32_t> g_StartupStatusWord{0};

namespace {

bool BitsSet(uint32_t word, uint32_t mask) {
    return (word & mask) == mask;
}

}  // namespace

int32_t StartupScreen(int32_t, int32_t) {
    // The screen itself comes with the graphics library; the tests and what they store run now, and
    // their verdicts go to the console.
    g_StartupFailed.store(0);
    int loopback = BusReg_LoopbackTest(regbus::SelfTestPattern());
    uint32_t status = BusReg_ReadRaw(0, regmap::kFaultWord);
    g_StartupStatusWord.store(status);
    if (loopback != 1 || !BitsSet(status, 0x03)) {
        std::printf("FW Startup: Fail\n");
        std::fflush(stdout);
        g_StartupFailed.store(1);
        return 0;
    }
    BusReg_SetBootCtrl(4);
    g_PowerStageStatus.store(BusReg_GetStatus());
    g_PowerStageBootStatus.store(BusReg_GetBootStatus());
    std::printf("FW Startup: Pass\n");

    // Modules 1-3 are up when bits 2-3, 4-5 and 6-7 of the status word's first byte are set.
    if (BitsSet(status, 0xFC)) {
        PhaseFaultCheck();
        std::printf("HW Module Startup: Pass\n");
    } else {
        std::printf("HW Module Startup: Fail\n");
        g_StartupFailed.store(1);
    }
    std::fflush(stdout);
    return 0;
}
