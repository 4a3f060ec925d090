#include "core/system/links/web_capture.h"

std::atomic<uint32_t> g_WebScreenCopyOwner{0};
