#include "core/system/links/usb_state.h"

core::UsbState g_UsbState;
