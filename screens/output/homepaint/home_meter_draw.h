#pragma once
// The meter grid's and the total-power block's cells: what each shows (its face: value, unit, colour)
// and the drawing of a face. A quantity's face is formatted with its getter (screen mode 0).
#include <cstdint>

#include "GUI/wm/wm.h"
#include "core/system/util/format_number.h"

inline constexpr uint32_t kMeterWhite = 0xFFFFFF;
inline constexpr uint32_t kMeterHeldGrey = 0xDEDEDE;

// What a cell shows, or nothing (a cleared cell). The meter's refresh compares the face a cell would get
// now with the one it was last painted with and repaints only the cells whose face changed.
struct MeterFace {
    bool cleared = true;
    char value[kNumberTextSize] = "";
    char unit[16] = "";
    uint32_t colour = 0;
    bool operator==(const MeterFace& o) const;
};

// quantity: MeasItemChoice; phase 0-2. A quantity outside the table leaves the face cleared.
MeterFace HomeMeter_QuantityFace(int32_t quantity, int phase, uint32_t colour);
MeterFace HomeMeter_TextFace(const char* value, const char* unit, uint32_t colour);
// The face of meter cell n (0-11) or total-power cell k (0-5) as its painter draws it now.
MeterFace HomeMeter_CellFace(int n);
MeterFace HomeMeter_PowerFace(int k);
// Draws a meter cell's face (value ending at x 150, unit from there, in the 44-pixel fonts) or a
// total-power cell's (split at x 110, in the power fonts) into the selected window.
void HomeMeter_DrawCell(const MeterFace& face);
void HomeMeter_DrawPower(const MeterFace& face);
// The colour of meter and power values: grey while the meter is held.
uint32_t HomeMeter_Colour();

// The painters note each face they draw, by slot: meter cell n is slot n, total-power cell k slot 12 + k.
// A slot not painted since the last forget shows no face, so the next refresh paints it. A paint of part
// of the window (msg's area) notes nothing; when its face is not the one noted the whole window is made
// invalid, so the next paint pass draws the rest with it.
inline constexpr int kMeterFaceSlots = 18;
inline constexpr int MeterFaceSlotOfPower(int k) { return 12 + k; }
void HomeMeter_NotePainted(const WM_MSG_RECORD* msg, int slot, const MeterFace& face);
bool HomeMeter_Shows(int slot, const MeterFace& face);
void HomeMeter_ForgetPainted();
