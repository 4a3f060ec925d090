#pragma once
// The limit popups and dialogs that the overlay shows over the output screens: each a frame window with
// one child that shows the value or the buttons. GUI thread only.
#include "GUI/wm/wm.h"

enum LimitPopupId {
    kPopIpkKind,      // state 23
    kPopIpkHi,        // 24
    kPopIpkLo,        // 27
    kPopVpkKind,      // 9
    kPopVpkHi,        // 10
    kPopVpkLo,        // 11
    kPopVoltLimit,    // 8
    kPopFreqKind,     // 15
    kPopFreqHi,       // 16
    kPopFreqLo,       // 19
    kDlgCfgPhase,     // 3
    kDlgWiringWarn,   // 4, 6
    kDlgCfgConfirm,   // 5
    kDlgParallelFail, // 7
    kLimitPopupCount
};

struct LimitPopupWins {
    WM_HWINDOW frame;
    WM_HWINDOW child;
};
// The windows made by LimitPopups_Create (0 before it).
extern LimitPopupWins g_LimitPopups[kLimitPopupCount];
// Creates the fourteen frames (hidden) with their children, in the order above.
void LimitPopups_Create();
