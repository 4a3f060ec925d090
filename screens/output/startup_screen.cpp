#include "screens/output/startup_screen.h"

#include <cstdio>

#include "core/regbus/regbus.h"
#include "core/system/identity.h"
#include "core/system/stage_status.h"
#include "platform/reg_map.h"
#include "screens/output/startup_draw.h"

std::atomic<uint32_t> g_StartupFailed{0};
std::atomic<uint32_t> g_StartupStatusWord{0};

namespace {

bool BitsSet(uint32_t word, uint32_t mask) {
    return (word & mask) == mask;
}

constexpr int kVerdictX = 560;
constexpr int kModuleY[3] = {200, 250, 300};

void Verdict(bool pass, int y) {
    StartupDrawText(pass ? "Pass" : "Fail", kVerdictX, y, pass ? kStartupGreen : kStartupRed);
}

}  // namespace

// The verdicts go to the screen and to the console. The three module lines share the one module check.
int32_t StartupScreen(int32_t x0, int32_t y0) {
    g_StartupFailed.store(0);
    StartupSetOrigin(x0, y0);
    StartupDrawText("Version :", 250, 420, kStartupWhite);
    StartupDrawText("1.06", 370, 420, kStartupWhite);
    StartupDrawLogo(g_BrandId.load(std::memory_order_acquire));
    int loopback = BusReg_LoopbackTest(regbus::SelfTestPattern());
    uint32_t status = BusReg_ReadRaw(0, regmap::kFaultWord);
    g_StartupStatusWord.store(status);
    StartupDrawText("FW Startup.............................. ", 170, 150, kStartupWhite);
    if (loopback != 1 || !BitsSet(status, 0x03)) {
        Verdict(false, 150);
        std::printf("FW Startup: Fail\n");
        std::fflush(stdout);
        g_StartupFailed.store(1);
        return 0;
    }
    BusReg_SetBootCtrl(4);
    g_PowerStageStatus.store(BusReg_GetStatus());
    g_PowerStageBootStatus.store(BusReg_GetBootStatus());
    Verdict(true, 150);
    std::printf("FW Startup: Pass\n");
    for (int m = 0; m < 3; ++m) {
        char line[40];
        std::snprintf(line, sizeof line, "HW Module%d Startup............... ", m + 1);
        StartupDrawText(line, 170, kModuleY[m], kStartupWhite);
    }

    // Modules 1-3 are up when bits 2-3, 4-5 and 6-7 of the status word's first byte are set.
    const bool modulesUp = BitsSet(status, 0xFC);
    for (int y : kModuleY)
        Verdict(modulesUp, y);
    if (modulesUp) {
        PhaseFaultCheck();
        std::printf("HW Module Startup: Pass\n");
    } else {
        std::printf("HW Module Startup: Fail\n");
        g_StartupFailed.store(1);
    }
    std::fflush(stdout);
    return 0;
}
