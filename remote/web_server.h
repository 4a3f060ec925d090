#pragma once
#include <atomic>
#include <cstdint>

#include "core/system/state/web_capture.h"

// The HTTP servers on ports 80 and 81.
void* WebServerThread80(void* arg);
void* WebServerThread81(void* arg);

// Set by the web server to release a remote lock; tested by the 2 s step of the timer thread.
extern std::atomic<uint32_t> g_WebLockReleaseReq;
