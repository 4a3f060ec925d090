#include "remote/web_server.h"

#include "core/system/state/thread_ctl.h"

std::atomic<uint32_t> g_WebLockReleaseReq{0};

// The HTTP servers are not served yet: each thread holds its running word until the interface threads
// are asked to stop.
void* WebServerThread80(void*) {
    core::IdleWhileRunning(kRunWeb80);
    return nullptr;
}

void* WebServerThread81(void*) {
    core::IdleWhileRunning(kRunWeb81);
    return nullptr;
}
