#include "core/system/state/usb_state.h"

core::UsbState g_UsbState;
