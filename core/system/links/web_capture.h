#pragma once
// The web server's screen-capture flag: 1 while it reads the framebuffer for a web client. It lives
// below the panel so that the screen copy to USB memory, which must not read the framebuffer at the same
// time, can wait on it.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_WebScreenCopyOwner;
