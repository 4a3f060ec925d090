#include "screens/menu/cal/cal_screen.h"

#include <array>

#include "GUI/wm/wm.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/measure/meas_records.h"
#include "core/regbus/reg_read.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "panel/draw/panel_shapes.h"
#include "screens/menu/cal/cal_paint.h"

namespace {

using namespace calpage;

enum Win : int8_t {
    kDesktop = -1,
    kRoot,
    kTitle,
    kSoftColumn,
    kSoftSpacer,
    kSoft1,
    kSoft2,
    kSoft3,
    kSoft4,
    kBody,
    kItems,
    kBar,
    kPointPopup,
    kValueField,
    kDefaultPopup,
    kConfirmField,
    kPreparePopup,
    kWinCount
};

struct WinDef {
    int16_t x, y, w, h;
    Win parent;
    bool shown;
    WM_CALLBACK* paint;
};
// In creation order, which is stacking order: each window after its parent.
constexpr WinDef kTree[kWinCount] = {
    {0, 0, 800, 480, kDesktop, false, PaintRoot},
    {0, 0, 720, 28, kRoot, true, PaintTitle},
    {720, 0, 80, 480, kRoot, true, PaintBlack},
    {1, 0, 80, 24, kSoftColumn, true, PaintBlack},
    {1, 0, 80, 60, kSoftColumn, true, PaintSoftKey1},
    {1, 60, 80, 60, kSoftColumn, true, PaintSoftKey2},
    {1, 120, 80, 60, kSoftColumn, true, PaintSoftKey3},
    {1, 180, 80, 60, kSoftColumn, true, PaintSoftKey4},
    {0, 28, 720, 452, kRoot, true, PaintBody},
    {15, 15, 371, 210, kBody, true, PaintItemList},
    {0, 0, 370, 21, kItems, true, PaintSelectionBar},
    {280, 180, 201, 91, kRoot, false, PaintPointPopup},
    {25, 45, 150, 28, kPointPopup, true, PaintValueField},
    {270, 150, 201, 91, kBody, false, PaintDefaultPopup},
    {25, 45, 150, 28, kDefaultPopup, true, PaintConfirmField},
    {280, 180, 201, 91, kRoot, false, PaintPreparePopup},
};
constexpr bool ParentsFirst() {
    for (int i = 0; i < kWinCount; ++i)
        if (kTree[i].parent >= i) return false;
    return true;
}
static_assert(ParentsFirst(), "a window is created after its parent");

constexpr uint32_t kNoState = 0xFFFFFFFFu;

std::array<WM_HWINDOW, kWinCount> g_win{};

// What the page last drew and saw.
struct Seen {
    uint32_t state = kNoState;
    int32_t selection = -1;
    uint32_t cursor = 0;
    int32_t work = 0;
    double entryValue = 0;
    uint32_t entryState = 0;
    bool prepareUp = false;  // the prepare popup is up and this page set the processing bit
    uint32_t softKeysFor = kNoState;  // the state the soft keys were last drawn for
};
Seen g_seen;

void ShowOrRepaint(Win w) {
    if (WM_IsShown(g_win[w]))
        WM_Invalidate(g_win[w]);
    else
        WM_Show(g_win[w]);
}

void HideIfShown(Win w) {
    if (WM_IsShown(g_win[w])) WM_Hide(g_win[w]);
}

// The prepare popup goes, and with it the processing bit it set, so that the control task runs again.
void DropPrepare() {
    if (!g_seen.prepareUp) return;
    HideIfShown(kPreparePopup);
    SysStatusClear(kSysCaliProcessing);
    g_seen.prepareUp = false;
}

void MoveBar(int32_t selection) {
    MoveWindowRelative(g_win[kBar], 0, kRowPitch * selection + 2, g_win[kItems]);
    WM_Invalidate(g_win[kBar]);
    g_seen.selection = selection;
    g_seen.cursor = g_EditShown.cursor;
}

void RememberEdit() {
    g_seen.work = g_EditShown.workValue;
    g_seen.cursor = g_EditShown.cursor;
    g_seen.entryValue = g_EditShown.buf.entryValue;
    g_seen.entryState = g_EditShown.buf.entryState;
}

void EnterState(uint32_t state) {
    // A point waiting for the stage comes back here on every pass: its keys are drawn once.
    if (g_seen.softKeysFor != state) {
        for (Win w : {kSoftSpacer, kSoft1, kSoft2, kSoft3, kSoft4})
            WM_Invalidate(g_win[w]);
        g_seen.softKeysFor = state;
    }
    if (state == kMenuCalibration) {
        HideIfShown(kPointPopup);
        HideIfShown(kDefaultPopup);
        g_BarItem = g_EditShown.workValue;
        MoveBar(g_BarItem);
    } else if (IsCalPointState(state)) {
        // The point can be given once the stage reports itself ready (a second result).
        if (((BusReg_GetCaliStatus() >> 3) & 7u) == 0) {
            SysStatusSet(kSysCaliProcessing);
            g_seen.prepareUp = true;
            MsgQueue_Clear();
            if (!WM_IsShown(g_win[kPreparePopup])) WM_Show(g_win[kPreparePopup]);
            return;  // not remembered: the next step asks again
        }
        DropPrepare();
        ShowOrRepaint(kPointPopup);
        RememberEdit();
    } else if (state == kMenuCalDefaultConfirm) {
        ShowOrRepaint(kDefaultPopup);
    } else {
        HideIfShown(kPointPopup);
        HideIfShown(kDefaultPopup);
    }
    g_seen.state = state;
}

bool EditChanged() {
    return g_EditShown.workValue != g_seen.work || g_EditShown.cursor != g_seen.cursor ||
           g_EditShown.buf.entryValue != g_seen.entryValue || g_EditShown.buf.entryState != g_seen.entryState;
}

void Nothing() {}

}  // namespace

void CalScreen_Create() {
    for (int i = 0; i < kWinCount; ++i) {
        const WinDef& d = kTree[i];
        const int style = d.shown ? WM_CF_SHOW : 0;
        g_win[i] = d.parent == kDesktop
                       ? WM_CreateTop(d.x, d.y, d.w, d.h, style, d.paint, 0)
                       : WM_CreateChild(d.x, d.y, d.w, d.h, g_win[d.parent], style, d.paint, 0);
    }
    g_seen = Seen{};
    g_PagesCreated.fetch_or(kPageBitCal, std::memory_order_relaxed);
    g_PageId.store(kPageIdCal);
}

void CalScreen_Show() {
    // Whatever state the page was left in, the next step takes the current one afresh.
    g_seen.state = kNoState;
    g_seen.softKeysFor = kNoState;
    // A remote start can show the page at a point without the list having been drawn: the bar names the
    // list's selection as the list would have shown it.
    g_BarItem = static_cast<int32_t>(g_CalState.savedSelection.load(std::memory_order_relaxed));
    MoveBar(g_BarItem);
    WM_Show(g_win[kRoot]);
}

void CalScreen_Hide() {
    WM_Hide(g_win[kRoot]);
}

void CalScreen_Update() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    // However the point was left (its exit, a remote exit, a failed procedure), the wait for it ends.
    if (!IsCalPointState(state)) DropPrepare();
    if (state != g_seen.state) {
        EnterState(state);
        return;
    }
    if (!IsCalPointState(state) && state != kMenuCalDefaultConfirm) {
        HideIfShown(kPointPopup);
        HideIfShown(kDefaultPopup);
        if (state == kMenuCalibration &&
            (g_EditShown.workValue != g_seen.selection || g_EditShown.cursor != g_seen.cursor)) {
            g_BarItem = g_EditShown.workValue;
            MoveBar(g_BarItem);
        }
        return;
    }
    if (IsCalPointState(state) && EditChanged()) {
        RememberEdit();
        WM_Invalidate(g_win[kValueField]);
    }
}

const PageDesc CalPageDesc{CalScreen_Create, Nothing, CalScreen_Show, CalScreen_Hide, CalScreen_Update};
