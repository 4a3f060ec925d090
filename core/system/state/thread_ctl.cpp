#include "core/system/state/thread_ctl.h"

ThreadCtl g_ThreadCtl{};
std::atomic<uint32_t> g_LanRestartReq{0};
