#include "core/control/hooks/core_ui_hooks.h"

namespace {
// Set once at start-up, before any thread that reads it runs.
CoreUiHooks g_hooks{};
}  // namespace

void CoreUi_SetHooks(const CoreUiHooks& hooks) {
    g_hooks = hooks;
}

const CoreUiHooks& core::CoreUi() {
    return g_hooks;
}
