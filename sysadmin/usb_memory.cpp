#include "sysadmin/usb_memory.h"

// No USB memory is watched until the mount sequencer exists.
int32_t UsbMemSm_Run() {
    return 0;
}
