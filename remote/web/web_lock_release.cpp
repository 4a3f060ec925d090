#include "remote/web/web_lock_release.h"

std::atomic<uint32_t> g_WebLockReleaseReq{0};
