#include "screens/output/home_keys.h"

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/util/num_util.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/menu/home_fields.h"
#include "panel/menu_entries.h"
#include "src/dev/panel_link.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint8_t kClassKeypad = 1, kClassShortcut = 2, kClassSoft = 3, kClassCursor = 4, kClassFunction = 5;
constexpr uint8_t kEnterKey = 'U', kExitKey = 'T', kCursorUp = 'V', kCursorDown = 'W', kKnob = 213;

// Rows count from the top: the knob turned up and the up key move to the row above.
int32_t RowStep(uint32_t ev) {
    switch (KeyEventCode(ev)) {
    case kKnob: return -KeyEventDelta(ev);
    case kCursorUp: return -1;
    case kCursorDown: return 1;
    default: return 0;
    }
}

void OpenSelectedRow() {
    const uint32_t row = g_HomePage.panelRow.load(kRelaxed);
    const uint32_t mode = GetOutputMode();
    if (row < kHomePanelRows && mode < kOutputModes) g_HomeFieldEnterMatrix[row][mode]();
}

// The shortcut and function keys, which both home views share.
bool HomeViewKeys(uint32_t* ev) {
    switch (KeyEventClass(*ev)) {
    case kClassShortcut: KeyProcess_HomeParamKeys(ev); return true;
    case kClassFunction: KeyProcess_HomeCommonKeys(ev); return true;
    default: return false;
    }
}
}  // namespace

void menuAdvenceScreen(uint32_t* ev) {
    if (GetParallelPosition() != 1) {
        KeyProcess_SlaveHomeKeys(ev);
        return;
    }
    if (HomeViewKeys(ev)) return;
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassKeypad && KeyEventCode(*ev) == kEnterKey) {
        OpenSelectedRow();
    } else if (cls == kClassCursor) {
        if (const int32_t step = RowStep(*ev)) {
            const auto row = static_cast<int32_t>(g_HomePage.panelRow.load(kRelaxed));
            g_HomePage.panelRow.store(static_cast<uint32_t>(WrapIndex(row, step, kHomePanelRows)), kRelaxed);
        }
    }
}

void menuSimpleScreen(uint32_t* ev) {
    HomeViewKeys(ev);
}

void KeyProcess_ExitToHome(uint32_t* ev) {
    if (KeyEventCode(*ev) == kExitKey) menuReturnHome();
}

void KeyProcess_Ignore(uint32_t*) {}
