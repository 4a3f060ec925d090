#include "core/system/config/identity.h"

#include <algorithm>
#include <cstring>
#include <mutex>

std::atomic<uint32_t> g_BrandId{0};
char g_SerialNo[16];
char g_MacText[20];

namespace {
std::mutex g_textLock;
}  // namespace

void IdentityTextWrite(char* text, size_t size, const char* value, size_t n) {
    std::lock_guard<std::mutex> hold(g_textLock);
    std::memset(text, 0, size);
    std::memcpy(text, value, std::min(n, size));
}

void IdentityTextRead(const char* text, size_t size, char* out) {
    std::lock_guard<std::mutex> hold(g_textLock);
    std::memcpy(out, text, size);
}
