#include "core/system/state/output_flags.h"

std::atomic<uint32_t> g_OutputFlags{0};

void core::OutputFlagsReset() {
    g_OutputFlags.store(0, std::memory_order_relaxed);
}
