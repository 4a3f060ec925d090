// The home screen's soft-key column: eight keys painted by one callback from the settings they switch.
#include <atomic>
#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/home/home_windows.h"
#include "screens/output/homepaint/home_meter_items.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kKeys = 8;
constexpr int kNormal = 0, kSelected = 1, kDisabled = 2;

struct Label {
    const char* text;
    int style;
    int lines;
};

constexpr const char* kViewLabels[2] = {"[Phase]\nLine", "Phase\n[Line]"};
constexpr const char* kLine3P4W[3] = {"[L1]\nL2\nL3", "L1\n[L2]\nL3", "L1\nL2\n[L3]"};
constexpr const char* kLine1P3W[2] = {"[L1]\nL2", "L1\n[L2]"};
constexpr const char* kEachAll[2] = {"[Each]\nAll", "Each\n[All]"};
constexpr const char* kItemKeys[4] = {"ITEM1\n", "ITEM2\n", "ITEM3\n", "ITEM4\n"};

bool AllPhaseMode(uint32_t mode) {
    return IsAcIntSyncOrVcaMode(mode);
}

uint32_t Pick(int32_t v, uint32_t count) {
    return v >= 0 && static_cast<uint32_t>(v) < count ? static_cast<uint32_t>(v) : 0;
}

// Line selection, or the PHASE/LINE view while the balance ties the phases together (not in 3P4W with a
// DC or external output mode).
Label LineKey() {
    const uint32_t phaseMode = GetPhaseMode(), mode = GetOutputMode();
    const bool balance = GetPhaseBalanceMode() == 1;
    if (balance && phaseMode != kWiring1P2W && !(phaseMode == kWiring3P4W && IsDcExtOrAddMode(mode)))
        return {kViewLabels[Pick(GetPhaseLineView(), 2)], kNormal, 2};
    if (phaseMode == kWiring3P4W) return {kLine3P4W[Pick(GetSelectedLine(), 3)], kNormal, 3};
    if (phaseMode == kWiring1P3W) return {kLine1P3W[Pick(GetSelectedLine(), 2)], kNormal, 2};
    return {"L1", kDisabled, 1};
}

// The key first puts the Each/All byte where the wiring and balance force it.
Label EachAllKey() {
    const uint32_t phaseMode = GetPhaseMode(), mode = GetOutputMode();
    const bool balance = GetPhaseBalanceMode() == 1;
    if (phaseMode == kWiring1P2W)
        g_EditAllPhases.store(0, kRelaxed);
    else if (balance && AllPhaseMode(mode))
        g_EditAllPhases.store(1, kRelaxed);
    const uint32_t all = g_EditAllPhases.load(kRelaxed) == 1 ? 1 : 0;
    if (phaseMode == kWiring1P2W || (balance && AllPhaseMode(mode))) return {kEachAll[all], kDisabled, 2};
    if (phaseMode == kWiring1P3W && g_HomePage.allPhasesLock.load(kRelaxed) == 1)
        return {kEachAll[1], kDisabled, 2};
    return {kEachAll[all], kNormal, 2};
}

void DrawItemKey(int row) {
    const uint32_t id = kParamMeasItem1 + static_cast<uint32_t>(row);
    const char* name = home::ItemName(static_cast<uint32_t>(row), GetOutputMode(), paramGetValue(id, 0));
    char text[32];
    std::snprintf(text, sizeof text, "%s%s", kItemKeys[row], name);
    DrawSoftKey(text, g_MenuState.load(kRelaxed) == id ? kSelected : kNormal, 2);
}

void DrawKey(int key) {
    const uint32_t flags = g_ParamFlags.load(kRelaxed);
    if ((flags & core::kFlagPresetMode) != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "Preset\nM%d", key);
        return DrawSoftKey(text, kNormal, 2);
    }
    Label label{"DISPLAY", kNormal, 1};
    switch (key) {
        case 0:
            break;
        case 1:
            label = LineKey();
            break;
        case 6:
            label = EachAllKey();
            break;
        case 7:
            label = (flags & core::kFlagMeterHold) != 0 ? Label{"RUN\n[HOLD]", kDisabled, 2}
                                                        : Label{"[RUN]\nHOLD", kNormal, 2};
            break;
        default:
            return DrawItemKey(key - 2);
    }
    DrawSoftKey(label.text, label.style, label.lines);
}

}  // namespace

void HomeSoftKey_Paint(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const int key = HomeWin_IndexOf(msg->hWin) - home::kWinSoftKey0;
    // The output-mode list covers the column: its keys stay black.
    if (key < 0 || key >= kKeys || g_MenuState.load(kRelaxed) == kParamMainMode) return ClearWindow();
    DrawKey(key);
}
