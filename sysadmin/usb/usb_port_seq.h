#pragma once
// The two USB port sequencers stepped by the USB-memory object: the rear USB device port (USB-TMC or
// USB-CDC) and the USB-GPIB adapter's interface. Each pass returns the wait left (0 when a step ran).
#include <cstdint>

// The channels the sequencers post to live in a higher layer: these are handed over at start-up. A hook
// that is not set does nothing (a post then counts as failed, the host as absent).
struct UsbPortHooks {
    int (*postUsb)(uint32_t bits, uintptr_t argument);   // the USB channel's request mailbox
    int (*postGpib)(uint32_t bits, uintptr_t argument);  // the GPIB channel's
    bool (*usbHostConnected)();                          // the USB channel sees a host
    void (*loadGpibDriver)();                            // the USB-GPIB adapter's driver, once
};
void UsbPort_SetHooks(const UsbPortHooks& hooks);

int32_t UsbDev_ModeSequencer();
int32_t UsbGpib_Sequencer();
// Restart the rear USB device from disabling it (the speed editor, and the sequencer on a disconnect).
void UsbDev_StartModeSequencer();
// A new GPIB address: the GPIB interface is restarted while bit 3 of status byte B says it was started.
void GpibAddressApply();
// The words back to their start values (the USB-memory object's initialisation).
void UsbPortSeqReset();
