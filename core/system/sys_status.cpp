#include "core/system/sys_status.h"

std::atomic<uint32_t> g_SysStatus{0};
