// The power stage's FPGA programmed over JTAG by the external tool qx_jtag, and the FPGA reset
// sequence on GPIO 96 and the fpga_sw LED that follows it.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/usb/usb_source.h"

std::atomic<uint32_t> g_ModelVariantA{0};

namespace {

constexpr const char* kResetSequence[] = {
    "echo 96 > /sys/class/gpio/export",
    "echo out > /sys/class/gpio/gpio96/direction",
    "echo 1 > /sys/devices/leds/leds/fpga_sw/brightness",
    "echo 1 > /sys/class/gpio/gpio96/value",
    "echo 0 > /sys/class/gpio/gpio96/value",
    "echo 0 > /sys/devices/leds/leds/fpga_sw/brightness",
    "echo 1 > /sys/class/gpio/gpio96/value",
    "echo 0 > /sys/class/gpio/gpio96/value",
    "echo 0 > /sys/class/gpio/gpio96/value",
};

// The tool's failure line cut at its '.' characters: the first two pieces on two lines. The popup's
// formatter reads '%' as a conversion, so none is passed on.
void ShowToolFailure(const char* line) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char& c : text)
        if (c == '%') c = ' ';
    const size_t dot = text.find('.');
    std::string first = text.substr(0, dot), second;
    if (dot != std::string::npos) {
        const size_t start = text.find_first_not_of('.', dot);
        if (start != std::string::npos) second = text.substr(start, text.find('.', start) - start);
    }
    ShowErrorMessageHold(2, (first + "\n" + second).c_str());
}

}  // namespace

void FwUpd_ResetFpga(size_t first, size_t count, const int32_t* progress) {
    for (size_t i = first; i < first + count && i < sizeof kResetSequence / sizeof *kResetSequence; ++i) {
        plat::System(kResetSequence[i]);
        if (progress != nullptr) FwUpd_ShowStatus(17, progress[i - first], 0);
    }
}

const char* FwUpd_BootName() {
    return g_ModelVariantA.load(std::memory_order_relaxed) == 1 ? "VRN4100A_BOOT.bin" : "VRN4100_BOOT.bin";
}

const char* FwUpd_FpgaName() {
    return g_ModelVariantA.load(std::memory_order_relaxed) == 1 ? "VRN4100A_SPWM_3pof.jam"
                                                                 : "VRN4100_SPWM_3pof.jam";
}

int32_t FwUpd_Fpga(int32_t reboot, int32_t source, int32_t mode) {
    const char* file = FwUpd_FpgaName();
    FwUpd_ShowStatus(3, 0, 0);
    fwDots.store(0, std::memory_order_relaxed);
    FwUpd_ShowStatus(18, 10, 0);
    BusReg_SetBootCtrl(2);
    plat::SleepMs(10);
    FwUpd_ShowStatus(18, 20, 0);
    BusReg_SetOutputOnOff(0);
    plat::SleepMs(1000);
    FwUpd_ShowStatus(18, 30, 0);

    char command[160];
    const bool fromDisk = mode == kFwUpdServiceMode && source == 1;
    if (fromDisk)
        std::snprintf(command, sizeof command, "/mnt/disk/app/qx_jtag -aprogram /mnt/disk/app/%s", file);
    else if (mode == kFwUpdServiceMode)
        std::snprintf(command, sizeof command, "/mnt/disk/app/qx_jtag -aprogram /mnt/sd1/%s/%s", "VRN4100",
                      file);
    else
        std::snprintf(command, sizeof command, "/mnt/disk/app/qx_jtag -aprogram /mnt/sd1/%s/%s",
                      g_BrandId.load(std::memory_order_relaxed) == 1 ? "tulve" : "qx", file);
    FILE* pipe = fromDisk || UsbSourceReady() ? plat::Popen(command, "r") : nullptr;
    char line[128] = {};
    bool exitLine = false;
    for (int count = 0; pipe != nullptr && !exitLine;) {
        FwUpd_ShowStatus(18, 30 + 5 * count, 0);
        if (std::fgets(line, sizeof line, pipe) == nullptr) break;
        ++count;
        exitLine = std::strncmp(line, "Exit code", 9) == 0;
    }
    if (pipe != nullptr) plat::Pclose(pipe);
    if (!exitLine) {
        FwUpd_ShowStatus(6, 0, 0);
        return 1;
    }
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    const char* zero = std::strchr(line, '0');
    const int32_t result = zero != nullptr && zero - line == 12 ? 0 : 1;
    if (result == 0)
        FwUpd_ShowStatus(4, 0, 0);
    else
        ShowToolFailure(line);
    plat::SleepMs(2000);
    FwUpd_ResetFpga(0, 9, nullptr);
    plat::SleepMs(1000);
    plat::System("sync");
    if (reboot == 1 && result == 0) FwUpd_Reboot();
    return result;
}
