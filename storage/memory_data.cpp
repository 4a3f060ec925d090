#include "storage/memory_data.h"

#include <mutex>

namespace {
std::mutex g_lock;
MemoryDeleteRequest g_last{};
}  // namespace

int32_t DeleteMemoryData(int32_t kind, int32_t number) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_last = {g_last.count + 1, kind, number};
    return 0;
}

MemoryDeleteRequest MemoryDeleteLastRequest() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_last;
}

void MemoryDeleteReset() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_last = {};
}
