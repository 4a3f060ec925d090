#pragma once
// Which layout row each of the settings panel's twelve label and value windows shows: the inverse of
// home::PanelSlotOfRow, on the same pages. The Wave and duty rows share one window, so past the duty row
// every window shows the row after the one its index names.
#include <cstdint>

#include "panel/menu/settings_layout.h"
#include "platform/stage/wiring_codes.h"

namespace home {

inline constexpr uint32_t kPanelWindows = 12;
inline constexpr uint32_t kNoRow = kLayoutRows;  // a window past the layout (shows an empty row)

// phaseMode 0 3P4W, 1 1P2W, 2 1P3W; page 0 or 1. The second page of 1P2W lies past the layout.
constexpr uint32_t PanelRowOfWindow(uint32_t index, uint32_t page, uint32_t phaseMode, uint32_t outputMode) {
    const uint32_t duty = DutyRowOf(outputMode);
    if (phaseMode == kWiring1P2W) {
        if (page != 0 || index >= kPanelWindows) return kNoRow;
        return index >= duty ? index + 1 : index;
    }
    if (index >= kPanelWindows / 2) return kNoRow;
    if (page == 0) return index;
    return index + 6 >= duty ? index + 7 : index + 6;
}

// The item code a window shows now, from the live words: the layout in force, the page of the selected
// row and the output mode. Empty rows read kItemFiller.
PanelItem PanelCodeOfWindow(uint32_t index);
// The layout in force for the live wiring, view and balance mode.
const SettingsLayout& PanelLayoutNow();
// The page the selected row lies on.
uint32_t PanelPageNow();

}  // namespace home
