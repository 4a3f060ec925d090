#pragma once
// The web server's lock-release request: POST "/unlock" sets it, and the 2 s step of the timer thread
// takes it (a remote lock becomes plain remote).
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_WebLockReleaseReq;
