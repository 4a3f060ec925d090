#include "core/system/usb_state.h"

core::UsbState g_UsbState;
