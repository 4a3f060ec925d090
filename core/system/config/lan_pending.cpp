#include "core/system/lan_pending.h"

core::LanPending g_LanPending;
