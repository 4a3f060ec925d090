#include "core/hw_init.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "core/regbus/regbus.h"
#include "platform/clock.h"
#include "platform/root.h"
#include "src/dev/board_lines.h"

std::atomic<uint32_t> g_PhaseFaultWord[3];
std::atomic<uint32_t> g_PowerStageStatus{0};
std::atomic<int32_t> g_PowerStageBootStatus{0};

int32_t PhaseFaultCheck() {
    uint32_t any = 0;
    for (int phase = 0; phase < 3; ++phase) {
        int32_t word = BusReg_GetModuleWord(phase);
        uint32_t fault = (word > 0 && word < 400000) ? 0 : 1;
        g_PhaseFaultWord[phase].store(fault);
        any |= fault;
    }
    g_PhaseFault.store(any);
    return 0;
}

namespace core {
void HwInitReset() {
    for (auto& word : g_PhaseFaultWord)
        word.store(0);
    g_PowerStageStatus.store(0);
    g_PowerStageBootStatus.store(0);
}
}  // namespace core

int32_t HwInit() {
    g_PhaseFault.store(0);
    BusMapInit();
    BusReg_SetPowerStageEnable(1);
    plat::SleepMs(10);
    FpgaConfigLoad();
    HwConsolePrepare();
    // The built-in shapes, the stored waveforms, their download to the power stage and the update
    // strobe that follows come with the waveform memory.
    return 0;
}

int32_t FpgaConfigLoad() {
    std::string image = plat::MapPath("/mnt/disk/vrn_fpga.rbf");
    int fd = open(image.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    off_t size = lseek(fd, 0, SEEK_END);
    if (size <= 0 || lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return -1;
    }
    size_t length = static_cast<size_t>(size);
    auto* buffer = static_cast<char*>(std::malloc((length + 3) & ~static_cast<size_t>(3)));
    if (buffer == nullptr) {
        close(fd);
        return -1;
    }
    size_t got = 0;
    while (got < length) {
        ssize_t n = read(fd, buffer + got, length - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got != length) {
        std::free(buffer);
        return -1;
    }
    // The configuration device takes the image in one write; a missing device leaves the FPGA as it was.
    int dev = open(plat::MapPath("/dev/nconfig0").c_str(), O_RDWR | O_CLOEXEC);
    if (dev >= 0) {
        ssize_t written = write(dev, buffer, length);
        (void)written;
        close(dev);
    }
    std::free(buffer);
    plat::SleepUs(100);
    return 0;
}
