#include "panel/overlay/overlay_layout.h"

#include <array>
#include <iterator>

#include "core/system/state/menu_state_ids.h"
#include "panel/dialogs/limit_popups.h"
#include "panel/menu/home_field_rows.h"

namespace panel {
OverlayWindows g_OverlayWins{};
}  // namespace panel

namespace {

namespace home = panel::home;
using home::HomeFieldRow;
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

// The wiring and preset dialogs over the home screen.
constexpr OverlayLayoutRow kDialogRows[] = {
    Pop(kMenuPhaseDialog, kDlgCfgPhase), Pop(kMenuPhaseDialogCheck, kDlgWiringWarn),
    Pop(kMenuPresetPhaseDialogCheck, kDlgWiringWarn), Pop(kMenuPresetPhaseDialog, kDlgCfgConfirm),
    Pop(kMenuParallelRetry, kDlgParallelFail),
};
// The service value entry: the firm number, the model type and the tuning editors.
constexpr uint32_t kSvcRows = 2 + (kMenuTuneLast - kMenuTuneFirst + 1);

// A home field's row in one wiring: its limit popup, else its cell under the hint line, else the hint
// line alone when it has a hint; none otherwise.
constexpr int CellOf(const HomeFieldRow& f, bool onePhase) {
    return onePhase ? f.cells.onePhase : f.cells.threeWire;
}
constexpr bool HasRow(const HomeFieldRow& f, bool onePhase) {
    return f.popup != home::kNoPopup || CellOf(f, onePhase) != home::kNoCell || f.hint.text != nullptr;
}
constexpr OverlayLayoutRow RowOf(const HomeFieldRow& f, bool onePhase) {
    if (f.popup != home::kNoPopup) return Pop(f.state, f.popup);
    if (CellOf(f, onePhase) != home::kNoCell) return Cell(f.state, CellOf(f, onePhase));
    return {f.state, kHint, nullptr, nullptr};
}
constexpr size_t RowCount(bool onePhase) {
    size_t n = std::size(kDialogRows) + kSvcRows + 1;
    for (const HomeFieldRow& f : home::kHomeFieldRows)
        n += HasRow(f, onePhase) ? 1 : 0;
    return n;
}

// Dialogs, home fields, service entries, then the end row of state 0.
template <bool OnePhase>
constexpr std::array<OverlayLayoutRow, RowCount(OnePhase)> BuildLayout() {
    std::array<OverlayLayoutRow, RowCount(OnePhase)> t{};
    size_t n = 0;
    for (const OverlayLayoutRow& row : kDialogRows)
        t[n++] = row;
    for (const HomeFieldRow& f : home::kHomeFieldRows)
        if (HasRow(f, OnePhase)) t[n++] = RowOf(f, OnePhase);
    t[n++] = Svc(kMenuFirmTypeEdit);
    t[n++] = Svc(kMenuModelTypeEdit);
    for (uint32_t s = kMenuTuneFirst; s <= kMenuTuneLast; ++s)
        t[n++] = Svc(s);
    t[n] = {0, nullptr, nullptr, nullptr};
    return t;
}

constexpr auto kLayoutThreePhase = BuildLayout<false>();
constexpr auto kLayoutOnePhase = BuildLayout<true>();

void ShowRef(const WM_HWINDOW* ref) {
    if (ref != nullptr && *ref != 0) WM_Show(*ref);
}
void HideRef(const WM_HWINDOW* ref) {
    if (ref != nullptr && *ref != 0) WM_Hide(*ref);
}

}  // namespace

const OverlayLayoutRow* const g_OverlayLayout[2] = {kLayoutThreePhase.data(), kLayoutOnePhase.data()};


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
