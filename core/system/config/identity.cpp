#include "core/system/config/identity.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "core/system/util/text_util.h"

std::atomic<uint32_t> g_BrandId{0};
char g_SerialNo[16];
char g_MacText[20];

namespace {
std::mutex g_textLock;
}  // namespace

bool IdentityTextWrite(char* text, size_t size, const char* value, size_t n) {
    if (TextHasControl(value, std::min(n, size))) return false;
    std::lock_guard<std::mutex> hold(g_textLock);
    std::memset(text, 0, size);
    std::memcpy(text, value, std::min(n, size));
    return true;
}

void IdentityTextRead(const char* text, size_t size, char* out) {
    std::lock_guard<std::mutex> hold(g_textLock);
    std::memcpy(out, text, size);
}
