#include "app/hw_init.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "core/params/waves/arb_builtin.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/sys_status.h"
#include "drivers/board_lines.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/host/stop_signal.h"
#include "platform/stage/wave_numbers.h"
#include "storage/files/arb_file.h"
#include "storage/raw_file.h"

int32_t HwInit() {
    g_PhaseFault.store(0);
    BusMapInit();
    BusReg_SetPowerStageEnable(1);
    plat::SleepMs(10);
    FpgaConfigLoad();
    HwConsolePrepare();
    // Stopped during the self-test: the start ends here, and a new root's missing waves are not written.
    if (plat::StopRequested()) return -1;
    ArbMemInit();
    return 0;
}

int32_t ArbMemInit() {
    std::memcpy(g_ArbMem[kWaveSin], core::kArbBuiltinSine.data(), sizeof g_ArbMem[0]);
    std::memcpy(g_ArbMem[kWaveSqu], core::kArbBuiltinSquare.data(), sizeof g_ArbMem[0]);
    std::memcpy(g_ArbMem[kWaveTri], core::kArbBuiltinTriangle.data(), sizeof g_ArbMem[0]);
    int32_t resets = 0;
    {
        // A new root writes over two hundred default waves: one sync for all of them, not two per file.
        storage::RawWriteBatch batch;
        for (int32_t i = 0; i < kArbWaves; ++i)
            resets += ArbRestore(i);
        if (batch.Commit() != 0) SysStatusSet(kSysStorageError);
    }
    // A first start resets exactly the user waves above ARB16; anything else means damaged files.
    if (resets > 0 && resets != kArbUserWavesAbove16) ShowErrorMessageHold(1, "ARB Data Error");
    // Slots and length are within the table range, the only thing the download refuses.
    for (int slot = 0; slot < kArbSlots; ++slot)
        (void)BusReg_WriteArbTable(g_ArbMem[slot], kArbSamples, slot);
    BusReg_SetArbUpdate(1);
    plat::SleepUs(5);
    return resets;
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
