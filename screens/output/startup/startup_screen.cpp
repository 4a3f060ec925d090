#include "screens/output/startup/startup_screen.h"

#include <cstdio>

#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_read.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/state/stage_status.h"
#include "platform/host/clock.h"
#include "platform/host/stop_signal.h"
#include "platform/stage/reg_map.h"
#include "screens/output/startup/startup_draw.h"

std::atomic<uint32_t> g_StartupStatusWord{0};

namespace {

constexpr int kVerdictX = 560;
constexpr int kModuleY[3] = {200, 250, 300};
constexpr uint32_t kRoundMs = 1000;
// The modules get twelve rounds to come up; the progress dots grow for five rounds and are erased in
// the sixth.
constexpr int kStartRounds = 12;
constexpr const char* kProgress[6] = {".", "..", "...", "....", ".....", "....."};
constexpr const char* kDots = ".....";

// Status word bits: the firmware start (byte 0 bits 0-1), the three modules up (byte 0 bits 2-7), and
// each module's own start, spread over bytes 1 and 2.
constexpr uint32_t kFirmwareBits = 0x03;
constexpr uint32_t kModulesUpBits = 0xFC;
constexpr uint32_t kModuleBits[3] = {0x00C300, 0x030C00, 0x0C3000};

bool BitsSet(uint32_t word, uint32_t mask) {
    return (word & mask) == mask;
}

uint32_t ReadStatusWord() {
    const uint32_t status = BusReg_ReadRaw(0, regmap::kFaultWord);
    g_StartupStatusWord.store(status, std::memory_order_release);
    return status;
}

void Fail() {
    g_StartupFailed.store(1, std::memory_order_release);
}

void Verdict(bool pass, int y) {
    StartupDrawText(pass ? "Pass" : "Fail", kVerdictX, y, pass ? kStartupGreen : kStartupRed);
}

void EraseDots(int y) {
    StartupDrawText(kDots, kVerdictX, y, kStartupBlack);
}

void Report(const char* what, bool pass) {
    std::printf("%s: %s\n", what, pass ? "Pass" : "Fail");
    std::fflush(stdout);
}

// The power-stage link and the stage's firmware; a pass starts the stage and keeps its status words.
bool FirmwareTest() {
    const int loopback = BusReg_LoopbackTest(regbus::SelfTestPattern());
    const uint32_t status = ReadStatusWord();
    StartupDrawText("FW Startup.............................. ", 170, 150, kStartupWhite);
    const bool pass = loopback == 1 && BitsSet(status, kFirmwareBits);
    if (pass) {
        BusReg_SetBootCtrl(4);
        g_PowerStageStatus.store(BusReg_GetStatus());
        g_PowerStageBootStatus.store(BusReg_GetBootStatus());
    }
    Verdict(pass, 150);
    Report("FW Startup", pass);
    return pass;
}

// One round's wait. A stop (the host's power switch) ends it: the start goes no further.
bool RoundWait() {
    return !plat::StopWaitMs(kRoundMs);
}

// Twelve one-second rounds for the modules to report themselves up; once seen up they count as up.
void ModuleStartup() {
    for (int m = 0; m < 3; ++m) {
        char line[40];
        std::snprintf(line, sizeof line, "HW Module%d Startup............... ", m + 1);
        StartupDrawText(line, 170, kModuleY[m], kStartupWhite);
    }
    bool up = false;
    for (int k = 0; k < kStartRounds; ++k) {
        const bool upNow = BitsSet(ReadStatusWord(), kModulesUpBits);
        up = up || upNow;
        const int step = k % 6;
        for (int y : kModuleY)
            StartupDrawText(kProgress[step], kVerdictX, y, step == 5 ? kStartupBlack : kStartupWhite);
        if (!RoundWait()) return;
    }
    if (up) {
        PhaseFaultCheck();
        for (int phase = 0; phase < 3; ++phase)
            if (BusReg_GetModuleWord(phase) == 0) {
                plat::SleepMs(1);
                break;
            }
    } else {
        Verdict(false, kModuleY[0]);
        Fail();
    }
    Report("HW Module Startup", up);
}

// One second for module `m` (0-2) to report its own start.
bool ModuleTest(int m) {
    if (!RoundWait()) return false;
    const bool pass = BitsSet(ReadStatusWord(), kModuleBits[m]);
    if (!pass) Fail();
    char what[24];
    std::snprintf(what, sizeof what, "HW Module%d Startup", m + 1);
    Report(what, pass);
    return pass;
}

}  // namespace

// A failed firmware test ends the screen; a failed module test is marked and the next one still runs.
// A stop ends it at once, without a verdict.
int32_t StartupScreen(int32_t x0, int32_t y0) {
    g_StartupFailed.store(0, std::memory_order_release);
    StartupSetOrigin(x0, y0);
    StartupDrawText("Version :", 250, 420, kStartupWhite);
    StartupDrawText("1.06", 370, 420, kStartupWhite);
    StartupDrawLogo(g_BrandId.load(std::memory_order_acquire));
    if (!FirmwareTest()) {
        Fail();
        return 0;
    }
    ModuleStartup();
    if (plat::StopRequested()) return 0;

    for (int y : kModuleY)
        EraseDots(y);
    const bool module1 = ModuleTest(0);
    if (plat::StopRequested()) return 0;
    Verdict(module1, kModuleY[0]);
    if (module1) {
        StartupDrawText(".", kVerdictX, kModuleY[1], kStartupWhite);
        StartupDrawText(".", kVerdictX, kModuleY[2], kStartupWhite);
    }

    const bool module2 = ModuleTest(1);
    if (plat::StopRequested()) return 0;
    EraseDots(kModuleY[1]);
    Verdict(module2, kModuleY[1]);
    if (module2) StartupDrawText("..", kVerdictX, kModuleY[2], kStartupWhite);

    const bool module3 = ModuleTest(2);
    if (plat::StopRequested()) return 0;
    EraseDots(kModuleY[2]);
    Verdict(module3, kModuleY[2]);
    return 0;
}
