#include "panel/overlay/overlay_layout.h"

#include "panel/dialogs/limit_popups.h"

namespace panel {
OverlayWindows g_OverlayWins{};
}  // namespace panel

namespace {

using panel::g_OverlayWins;

constexpr const WM_HWINDOW* kHint = &g_OverlayWins.hint;

constexpr OverlayLayoutRow Pop(uint32_t state, LimitPopupId id) {
    return {state, nullptr, &g_LimitPopups[id].frame, &g_LimitPopups[id].child};
}
constexpr OverlayLayoutRow Cell(uint32_t state, int cell) {
    return {state, kHint, &g_OverlayWins.cell[cell], nullptr};
}
constexpr OverlayLayoutRow Svc(uint32_t state) {
    return {state, nullptr, &g_OverlayWins.svcEntry, &g_OverlayWins.svcValue};
}

#define OVERLAY_POPUP_ROWS                                                                              \
    Pop(3, kDlgCfgPhase), Pop(4, kDlgWiringWarn), Pop(6, kDlgWiringWarn), Pop(5, kDlgCfgConfirm),       \
        Pop(7, kDlgParallelFail), Pop(8, kPopVoltLimit), Pop(9, kPopVpkKind), Pop(10, kPopVpkHi),       \
        Pop(11, kPopVpkLo), Pop(15, kPopFreqKind), Pop(16, kPopFreqHi), Pop(19, kPopFreqLo),            \
        OverlayLayoutRow{22, kHint, nullptr, nullptr}, Pop(23, kPopIpkKind), Pop(24, kPopIpkHi),        \
        Pop(27, kPopIpkLo), Svc(226), Svc(228), Svc(256), Svc(257), Svc(258), Svc(259), Svc(260),       \
        Svc(261), Svc(262), Svc(263), Svc(264), Svc(265), Svc(266)

constexpr OverlayLayoutRow kLayoutThreePhase[] = {
    OVERLAY_POPUP_ROWS,
    Cell(45, 0), Cell(64, 0), Cell(78, 0),
    Cell(46, 1), Cell(67, 1), Cell(68, 1),
    Cell(47, 2), Cell(50, 2), Cell(51, 2), Cell(71, 2), Cell(75, 2), Cell(30, 2), Cell(34, 2),
    Cell(54, 3), Cell(57, 3), Cell(58, 3), Cell(33, 3), Cell(37, 3), Cell(88, 3), Cell(89, 3),
    Cell(12, 4), Cell(81, 4), Cell(84, 4), Cell(87, 4), Cell(73, 4),
    Cell(61, 5), Cell(74, 5),
    {0, nullptr, nullptr, nullptr},
};

// One phase has no line values: the line voltage states 50 and 57 have no row.
constexpr OverlayLayoutRow kLayoutOnePhase[] = {
    OVERLAY_POPUP_ROWS,
    Cell(45, 0), Cell(64, 6), Cell(78, 6),
    Cell(46, 1), Cell(67, 7), Cell(68, 7),
    Cell(47, 2), Cell(51, 2), Cell(75, 2), Cell(71, 8), Cell(30, 8), Cell(34, 8),
    Cell(54, 3), Cell(58, 3), Cell(33, 9), Cell(37, 9), Cell(88, 9), Cell(89, 9),
    Cell(12, 4), Cell(81, 4), Cell(84, 4), Cell(87, 10), Cell(73, 10),
    Cell(61, 5), Cell(74, 11),
    {0, nullptr, nullptr, nullptr},
};

#undef OVERLAY_POPUP_ROWS

void ShowRef(const WM_HWINDOW* ref) {
    if (ref != nullptr && *ref != 0) WM_Show(*ref);
}
void HideRef(const WM_HWINDOW* ref) {
    if (ref != nullptr && *ref != 0) WM_Hide(*ref);
}

}  // namespace

const OverlayLayoutRow* const g_OverlayLayout[2] = {kLayoutThreePhase, kLayoutOnePhase};

const uint8_t g_PanelItemTable[kPanelItemRows][10] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {2, 2, 3, 9, 9, 2, 2, 2, 2, 9},
    {3, 39, 6, 5, 5, 3, 39, 3, 39, 39},
    {4, 4, 11, 18, 18, 4, 4, 10, 10, 4},
    {5, 5, 40, 40, 40, 5, 5, 5, 5, 5},
    {7, 7, 39, 39, 39, 9, 9, 7, 7, 7},
    {8, 8, 39, 39, 39, 7, 7, 8, 8, 8},
    {13, 13, 39, 39, 39, 8, 8, 13, 13, 13},
    {14, 14, 39, 39, 39, 13, 13, 14, 14, 14},
    {11, 11, 39, 39, 39, 14, 14, 19, 19, 18},
    {16, 16, 39, 39, 39, 18, 18, 16, 16, 16},
    {17, 17, 39, 39, 39, 40, 40, 17, 17, 17},
    {40, 40, 39, 39, 39, 39, 39, 40, 40, 40},
    // 1P3W
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {2, 2, 3, 9, 9, 2, 2, 2, 2, 9},
    {3, 39, 6, 5, 5, 3, 39, 3, 39, 39},
    {4, 4, 11, 18, 18, 4, 4, 10, 10, 4},
    {5, 5, 40, 40, 40, 5, 5, 5, 5, 5},
    {7, 7, 39, 39, 39, 9, 9, 7, 7, 7},
    {8, 8, 39, 39, 39, 7, 7, 8, 8, 8},
    {13, 13, 39, 39, 39, 8, 8, 13, 13, 13},
    {14, 14, 39, 39, 39, 13, 13, 14, 14, 14},
    {11, 11, 39, 39, 39, 14, 14, 19, 19, 18},
    {16, 16, 39, 39, 39, 18, 18, 16, 16, 16},
    {40, 40, 39, 39, 39, 40, 40, 40, 40, 40},
    {39, 39, 39, 39, 39, 39, 39, 39, 39, 39},
};

const OverlayLayoutRow* Overlay_SwitchLayout(const OverlayLayoutRow* previous, uint32_t state,
                                             const OverlayLayoutRow* table) {
    if (previous != nullptr) {
        HideRef(previous->a);
        HideRef(previous->b);
        HideRef(previous->c);
    }
    for (const OverlayLayoutRow* row = table; row != nullptr && row->state != 0; ++row) {
        if (row->state != state) continue;
        ShowRef(row->a);
        ShowRef(row->b);
        ShowRef(row->c);
        return row;
    }
    return nullptr;
}
