#include "core/system/links/thread_ctl.h"

ThreadCtl g_ThreadCtl{};
std::atomic<uint32_t> g_LanRestartReq{0};
