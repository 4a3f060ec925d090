#pragma once
#include <atomic>
#include <cstdint>

// The HTTP servers on ports 80 and 81.
void* WebServerThread80(void* arg);
void* WebServerThread81(void* arg);

// Nonzero while the web server produces a screen copy for a web client.
extern std::atomic<uint32_t> g_WebScreenCopyOwner;
// Set by the web server to release a remote lock; tested by the 2 s step of the timer thread.
extern std::atomic<uint32_t> g_WebLockReleaseReq;
