#pragma once
// The rear USB port as a USB device (USB-TMC or USB-CDC serial): the gadget record, the kernel modules
// loaded for it, and the device controller's state.
#include <cstdint>

namespace sysadmin {

struct UsbGadget {
    uint32_t kind;  // 0 none, 1 the single-function gadget is loaded
    uint32_t idVendor;
    uint32_t idProduct;
    uint32_t release;  // always 0x0202
    char serial[9];    // the serial number's last 8 characters, or "01234567"
    char product[32];  // the model text of the model table
    int32_t info[4];   // the controller's info file: state, flag, a third value, status bits
};

}  // namespace sysadmin

// Written by the menu/control thread once at start and by the timer thread's sequencer afterwards.
extern sysadmin::UsbGadget g_UsbGadget;

// Fills the record and loads the function modules; once at start. The record is published with release:
// the device sequencer starts the gadget only once UsbGadgetReady() holds.
bool UsbGadgetReady();
void UsbGadgetInit();
// The controller as peripheral and the gadget of the configured class loaded (speed 0: full speed).
void UsbDevModeSet(uint32_t speed);
void UsbDevModeClear();
// The controller's info into the record: 0, or -1 without file or text.
int UsbDevInfoRead();
// Configured by a host: state 3, flag 1 and the status bits 0x98.
bool UsbDevStateOk();
