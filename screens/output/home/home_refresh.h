#pragma once
// The home page's refresh: each update paints what the previous one queued, then compares cached values
// with the instrument's settings, states and measurements and queues exactly the windows that depend on
// what changed. GUI thread only; the words compared are written by other threads without locks, so a
// change seen half-way is repaired by the next call.
#include <cstdint>

#include "core/system/util/step_obj.h"
#include "panel/statusbar/status_bar.h"

// What the home page showed when it last queued a repaint (all 0 at start; kept over hide and show).
struct HomeWindows {
    uint32_t status[32];    // the status chain's words, by the chain's slots
    statusbar::View bar;    // what the status bar's cells show (only its `shown` words are used)
    uint32_t settings[24];  // the settings chain's words for the selected line, by the chain's slots
    uint32_t items[4];
    uint32_t line;        // selected line, for the panel's line value
    uint32_t lineForKey;  // selected line, for its soft key
    uint32_t view;        // PHASE/LINE view
    uint32_t outputMode;
    uint32_t meterHold;
    uint32_t resetSelection;  // 1 after a wiring change: the next output-mode change selects row 0
    uint32_t panelRow;
    uint32_t panelPage;
    uint32_t modeHighlight;
    uint32_t lineHighlight;
};
extern HomeWindows g_HomeWindows;
// Counts the refreshes between meter repaints: 5 at the fast update rate, else 10.
extern uint32_t g_HomeMeterCountdown;

// The home object's rows 1 and 2: Init empties the queue and moves on to the refresh.
int32_t HomeScreen_Init(StepRow* row, uint32_t msg);
int32_t HomeScreen_Refresh(StepRow* row, uint32_t msg);

namespace home {

// Status chain: the first change among the status bar's cells and the links around them is handled;
// true when one was.
bool StatusChainStep();
// Settings chain of the selected line: the first of its fifteen links that changed.
bool SettingsChainStep(uint32_t line);
// The value windows of the settings-panel items in the mask (bit i: PanelItem i), wherever the current
// output mode's rows hold them, in the wiring's window numbering, whichever page is shown.
void QueueItemValues(uint32_t items);
// The wiring changed (to phaseMode) / the output mode changed (to mode).
void PhaseModeChange(uint32_t phaseMode);
void OutputModeChange(uint32_t mode);
// Panel selection and the rows it left (steps 5 and 6).
void PanelSelectionStep();
// Meter, item rows, selected line and view (steps 11-14).
void MeterStep();
void ItemRowSteps();
// The drop-down lists of the item, mode and line states (steps 15-17).
void ListSteps();

}  // namespace home
