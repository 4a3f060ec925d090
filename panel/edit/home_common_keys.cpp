// The function keys of the home views and their fields, and the keys a parallel slave's home views take.
#include <atomic>

#include "core/control/output_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/menu_entries.h"

namespace {

std::atomic<void (*)()> g_seqSimKey{nullptr};

// A unit set up for parallel operation takes the SEQUENCE/SIMULATE key only while it runs in parallel.
bool SeqSimKeyBarred() {
    const int32_t enable = GetParallelEnable();
    return enable != 0 && !(enable == 1 && g_ParallelActive.load(std::memory_order_relaxed) != 0);
}

}  // namespace

void HomeKeys_SetSeqSimKey(void (*handler)()) {
    g_seqSimKey.store(handler, std::memory_order_release);
}

using panel::edit::MeterFrozenRefused;

void KeyProcess_HomeCommonKeys(uint32_t* ev) {
    if (MeterFrozenRefused()) return;
    const uint8_t code = KeyEventCode(*ev);
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    if (code == kKeyOutput) {
        OutputToggle();
        return;
    }
    if (code == kKeyShift) return;
    if (state != kScreenAdvanced && state != kScreenSimple) {
        menuGoAdvenceScreen();
        return;
    }
    if (code == kKeyMenu) {
        menuOpenMenuPage();
    } else if (code == kKeySeq && !SeqSimKeyBarred()) {
        if (auto handler = g_seqSimKey.load(std::memory_order_acquire)) handler();
    }
}

void KeyProcess_SlaveHomeKeys(uint32_t* ev) {
    if (KeyEventCode(*ev) == kKeyMenu) menuOpenMenuPage();
}
