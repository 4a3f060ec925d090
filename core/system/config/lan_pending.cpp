#include "core/system/config/lan_pending.h"

core::LanPending g_LanPending;
