#include "panel/dialogs/limit_popups.h"

#include "panel/dialogs/limit_popup_paint.h"

LimitPopupWins g_LimitPopups[kLimitPopupCount]{};

namespace {

struct WindowPlace {
    int x, y, w, h;
    WM_CALLBACK* paint;
};
struct PopupPlace {
    WindowPlace frame;
    WindowPlace child;  // relative to the frame
};

// In LimitPopupId order.
constexpr PopupPlace kPlaces[kLimitPopupCount] = {
    {{250, 180, 231, 131, IpkKindPopup_Paint}, {15, 80, 200, 35, IpkKindButtons_Paint}},
    {{250, 180, 231, 131, IpkHiPopup_Paint}, {30, 82, 168, 25, IpkHiValue_Paint}},
    {{250, 180, 231, 131, IpkLoPopup_Paint}, {30, 82, 168, 25, IpkLoValue_Paint}},
    {{250, 180, 231, 131, VpkKindPopup_Paint}, {15, 80, 200, 35, VpkKindButtons_Paint}},
    {{250, 180, 231, 131, VpkHiPopup_Paint}, {30, 82, 168, 25, VpkHiValue_Paint}},
    {{250, 180, 231, 131, VpkLoPopup_Paint}, {30, 82, 168, 25, VpkLoValue_Paint}},
    {{270, 180, 201, 91, VoltLimitPopup_Paint}, {25, 45, 150, 30, VoltLimitValue_Paint}},
    {{250, 180, 231, 131, FreqKindPopup_Paint}, {15, 80, 200, 35, FreqKindButtons_Paint}},
    {{250, 180, 231, 131, FreqHiPopup_Paint}, {30, 82, 168, 25, FreqHiValue_Paint}},
    {{250, 180, 231, 131, FreqLoPopup_Paint}, {30, 82, 168, 25, FreqLoValue_Paint}},
    {{240, 180, 321, 131, CfgPhaseDialog_Paint}, {5, 85, 310, 30, CfgPhaseChoice_Paint}},
    {{50, 40, 610, 410, WiringWarnDialog_Paint}, {170, 300, 275, 35, WiringWarnButtons_Paint}},
    {{270, 180, 231, 131, CfgPhaseConfirm_Paint}, {5, 85, 220, 30, CfgPhaseConfirmButtons_Paint}},
    {{270, 180, 231, 131, ParallelFailDialog_Paint}, {5, 85, 220, 30, ParallelFailButtons_Paint}},
};

}  // namespace

// The children are visible from the start, so showing a frame shows its child with it.
void LimitPopups_Create() {
    constexpr int kHidden = 0;
    for (int i = 0; i < kLimitPopupCount; ++i) {
        const WindowPlace& f = kPlaces[i].frame;
        const WindowPlace& c = kPlaces[i].child;
        const WM_HWINDOW frame = WM_CreateTop(f.x, f.y, f.w, f.h, kHidden, f.paint, 0);
        g_LimitPopups[i] = {frame, WM_CreateChild(c.x, c.y, c.w, c.h, frame, WM_CF_SHOW, c.paint, 0)};
    }
}
