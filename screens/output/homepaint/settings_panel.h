#pragma once
// One row of the home screen's settings panel, drawn into the selected label or value window by its item
// (panel/menu/settings_layout.h). GUI thread only.
#include <cstdint>

#include "panel/menu/panel_items.h"

// The label on 0x333333; the empty rows (kItemFiller, kItemEnd) only clear.
void SettingsPanel_PaintLabel(PanelItem code);
// The value on 0x4D4D4D, or black on the highlight box when highlighted.
void SettingsPanel_PaintValue(PanelItem code, bool highlighted);
// In 1P3W a highlighted row sets the all-phases edit flag to value; the other wirings clear it.
void SettingsPanel_SetAllFlag(bool highlighted, uint32_t value);

namespace home {

// The texts of a value window: the code actually painted (Wave shows as duty while the duty row is
// selected under a square wave), the main text and the second one (the duty beside a square wave, or the
// wave's name beside the duty).
struct PanelValueText {
    PanelItem code;
    char main[40];
    char second[24];
};
// Reads the settings of the selected phase and writes nothing: the values the panel clamps (line voltages
// into their line limits, ON/OFF phases of whole degrees to 359) are shown clamped
// (screens/output/home/home_value_fit.h).
PanelValueText PanelValueTextOf(PanelItem code);

}  // namespace home
