#include "core/control/hooks/core_services.h"

namespace {
// Set once at start-up, before any thread that reads it runs.
CoreServices g_services{};
}  // namespace

void CoreServices_Set(const CoreServices& services) {
    g_services = services;
}

const CoreServices& core::Services() {
    return g_services;
}
