#include "sysadmin/usb_memory.h"

#include "platform/clock.h"
#include "platform/sandbox.h"

// No USB memory is watched until the mount sequencer exists.
int32_t UsbMemSm_Run() {
    return 0;
}

int32_t UsbUmount() {
    for (const char* cmd : {"umount /mnt/sd1", "umount /dev/sda1", "umount /dev/sda"}) {
        plat::System(cmd);
        plat::System("sync");
        plat::SleepMs(1000);
    }
    return 0;
}
