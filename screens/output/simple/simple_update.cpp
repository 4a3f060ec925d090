#include "screens/output/simple/simple_update.h"

#include <atomic>

#include "core/control/measure/measurement.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "panel/statusbar/status_bar.h"
#include "screens/output/simple/simple_dirty.h"
#include "screens/output/simple/simple_paint.h"
#include "screens/output/simple/simple_windows.h"

namespace simple {

Shown g_Shown{};

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kMeterTurns = 5;
constexpr int kFirstAcRow = 7;
constexpr int kSetRows = 4;  // the rows the meter sets differ in

// The words whose change repaints the output cell and every soft key.
struct PresetWords {
    bool outputOn;
    uint32_t recallIndex, pending, shown;
    bool presetMode, presetRecalled;
    bool operator==(const PresetWords&) const = default;
};

struct Page {
    int redrawCountdown;
    int meterCountdown;
    int turn;  // 0 status, 1 measurements
    PresetWords preset;
    uint32_t outputMode;
};
Page g_page{};

bool Flag(uint32_t bit) {
    return (g_ParamFlags.load(kRelaxed) & bit) != 0;
}

PresetWords ReadPresetWords() {
    return {OutputFlagTest(kOutFlagOutputOn),
            g_HomePage.recallIndex.load(kRelaxed),
            g_HomePage.presetPending.load(kRelaxed),
            statusbar::ShownPreset(),
            Flag(core::kFlagPresetMode),
            Flag(core::kFlagPresetRecalled)};
}

uint32_t SelectedLine() {
    return static_cast<uint32_t>(paramGetValue(kParamMeasItem1 + 5, 0));
}

void Push(int win) {
    DirtyPush(g_SimpleWin[win]);
}
void PushKey(int key) {
    Push(kWinSoftKey0 + key);
}
void PushRows(int firstRow, int rows, bool labels) {
    for (int c = 0; c < kColumns; ++c) {
        for (int r = firstRow; r < firstRow + rows; ++r) {
            if (labels) Push(LabelWin(r, c));
            Push(ValueWin(r, c));
        }
    }
}
void PushColumns(bool orders) {
    for (int w = orders ? kWinOrderLeft : kWinHarmValueLeft; w <= kWinPercentRight; ++w)
        Push(w);
}

void Show(int win) {
    WM_Show(g_SimpleWin[win]);
}
void Hide(int win) {
    WM_Hide(g_SimpleWin[win]);
}

void Layout() {
    if (g_Shown.harmonicView == 1) {
        Hide(kWinTable);
        for (int w = kWinHarm; w <= kWinPercentRight; ++w)
            Hide(w);
        for (int w : {kWinBody, kWinHarm, kWinHarmHeader})
            Show(w);
        for (int w = kWinThd; w <= kWinPercentRight; ++w)
            Show(w);
        return;
    }
    // Leaving the harmonic view: a frequency popup held for it would stay up with nothing to close it.
    CloseHarmonicPopup();
    for (int w = kWinTable; w <= kWinHarm; ++w)
        Hide(w);
    Show(kWinBody);
    for (int w = kWinTable; w < kWinHarm; ++w)
        Show(w);
}

void StatusTurn() {
    statusbar::Inputs in;
    statusbar::ReadInputs(&in);
    const PresetWords preset = ReadPresetWords();
    if (!(preset == g_page.preset)) {
        g_page.preset = preset;
        g_SimpleBar.shown[statusbar::kCellOutput] = statusbar::CellKey(statusbar::kCellOutput, in);
        DirtyPush(g_SimpleBar.cell[statusbar::kCellOutput]);
        for (int k = 0; k < kSoftKeys; ++k)
            PushKey(k);
        return;
    }
    // The rows of S, Q, PF and CF come and go with DC-INT.
    const uint32_t mode = GetOutputMode();
    if (mode != g_page.outputMode) {
        g_page.outputMode = mode;
        PushRows(kFirstAcRow, kRows - kFirstAcRow, true);
        return;
    }
    const int cell = StatusBar_NextChange(&g_SimpleBar, in);
    if (cell >= 0) DirtyPush(g_SimpleBar.cell[cell]);
}

void MeterCountdown() {
    if (g_page.meterCountdown > 0) {
        --g_page.meterCountdown;
        return;
    }
    g_page.meterCountdown = kMeterTurns;
    if (g_Shown.harmonicView == 1) {
        PushColumns(false);
        Push(kWinThd);
    } else if (g_Shown.frozen == 0 && (g_MeasRefreshFlags.load(std::memory_order_acquire) & kMeasRefreshDue) != 0) {
        for (int w = kWinValue0; w < kWinValue0 + kCells; ++w)
            Push(w);
        g_MeasRefreshFlags.fetch_and(~kMeasRefreshDue, kRelaxed);
    }
}

void MeasurementTurn() {
    const uint32_t frozen = Flag(core::kFlagMeterHold) ? 1 : 0;
    if (frozen != g_Shown.frozen) {
        g_Shown.frozen = frozen;
        PushKey(7);
        PushRows(0, kRows, true);
        return;
    }
    const uint32_t view = g_HomePage.harmonicView.load(kRelaxed);
    if (view != g_Shown.harmonicView) {
        g_Shown.harmonicView = view;
        g_page.redrawCountdown = 1;
        for (int k : {0, 1, 2, 3, 4, 5, 7})
            PushKey(k);
        return;
    }
    const uint32_t line = SelectedLine();
    if (line != g_Shown.line) {
        g_Shown.line = line;
        if (g_MenuState.load(kRelaxed) < kMenuSystemInfo) PushKey(1);
        return;
    }
    const uint32_t set = g_HomePage.meterSet.load(kRelaxed);
    if (set != g_Shown.meterSet) {
        g_Shown.meterSet = set;
        PushKey(3);
        PushRows(0, kSetRows, true);
        return;
    }
    const uint32_t page = g_HomePage.harmonicPage.load(kRelaxed);
    if (page != g_Shown.harmonicPage) {
        g_Shown.harmonicPage = page;
        PushKey(4);
        PushKey(5);
        PushColumns(true);
        Push(kWinThd);
        return;
    }
    const uint32_t quantity = g_HomePage.harmonicQuantity.load(kRelaxed);
    if (quantity != g_Shown.harmonicQuantity) {
        g_Shown.harmonicQuantity = quantity;
        PushKey(3);
        Push(kWinHarmHeader);
        PushColumns(true);
        Push(kWinThd);
        return;
    }
    MeterCountdown();
}

}  // namespace

void UpdateRestart() {
    g_page.redrawCountdown = 2;
    g_page.meterCountdown = kMeterTurns;
    g_page.turn = 0;
    g_page.preset = ReadPresetWords();
    g_page.outputMode = GetOutputMode();
    g_Shown.frozen = Flag(core::kFlagMeterHold) ? 1 : 0;
    g_Shown.harmonicView = g_HomePage.harmonicView.load(kRelaxed);
    g_Shown.line = SelectedLine();
    g_Shown.meterSet = g_HomePage.meterSet.load(kRelaxed);
    g_Shown.harmonicPage = g_HomePage.harmonicPage.load(kRelaxed);
    g_Shown.harmonicQuantity = g_HomePage.harmonicQuantity.load(kRelaxed);
    statusbar::Inputs in;
    statusbar::ReadInputs(&in);
    for (int i = 0; i < statusbar::kCells; ++i)
        g_SimpleBar.shown[i] = statusbar::CellKey(static_cast<statusbar::Cell>(i), in);
}

void UpdateRun() {
    if (g_page.redrawCountdown > 1) {
        --g_page.redrawCountdown;
    } else if (g_page.redrawCountdown == 1) {
        g_page.redrawCountdown = 0;
        Layout();
    }
    if (g_page.turn == 0) {
        StatusTurn();
        g_page.turn = 1;
    } else {
        MeasurementTurn();
        g_page.turn = 0;
    }
    DirtyFlush();
}

}  // namespace simple
