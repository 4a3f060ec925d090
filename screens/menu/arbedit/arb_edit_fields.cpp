// The waveform editor's parameter panel: the row labels of the displayed type and the ten value fields,
// each plain, selected (its view state current) or being edited (its edit state current).
#include <cstdio>
#include <cstring>

#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "screens/menu/arbedit/arb_edit_paint.h"
#include "screens/menu/arbedit/arb_edit_table.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_ops.h"

namespace arbedit {
namespace {

constexpr int kRowPitch = 30, kLabelColonX = 75, kFieldW = 150;
constexpr int kPanelX = 450, kPanelY = 10, kFieldX = 90;
constexpr uint16_t kEndOfList = 0xFFFF;

// Rows whose field, while selected or edited, is drawn through this map (ARB NO. and the LF-ring values):
// their edited value ends at x 60 instead of 135. Each list ends with kEndOfList.
constexpr uint16_t kRowFieldMap[kMaxRows][3] = {
    {kEndOfList},
    {kMenuArbArbNoEdit, kMenuArbLfRingAcvEdit, kEndOfList},
    {kMenuArbArbNoEdit, kMenuArbLfRingAmpEdit, kEndOfList},
    {kMenuArbArbNoEdit, kMenuArbLfRingBaseFreqEdit, kEndOfList},
    {kMenuArbArbNoEdit, kMenuArbLfRingRingFreqEdit, kEndOfList},
    {kMenuArbLfRingDecayEdit, kEndOfList},
    {kMenuArbLfRingStartEdit, kEndOfList},
    {kMenuArbLfRingEndEdit, kEndOfList},
    {kMenuArbLfRingRingEdit, kEndOfList},
    {kMenuArbArbNoEdit, kEndOfList},
};

bool Mapped(int k, uint32_t edit) {
    for (const uint16_t* s = kRowFieldMap[k]; *s != kEndOfList; ++s)
        if (*s == edit) return true;
    return false;
}

void FormatValue(const ParamRow& row, int32_t v, char* out, size_t size) {
    switch (row.format) {
        case Format::kPercent:
            std::snprintf(out, size, "%d%%", static_cast<int>(v));
            return;
        case Format::kInteger:
            std::snprintf(out, size, "%d", static_cast<int>(v));
            return;
        case Format::kHundredths:
            std::snprintf(out, size, "%.2f", v / 100.0);
            return;
        case Format::kTenths:
            std::snprintf(out, size, "%.1f", v / 10.0);
            return;
        case Format::kThousandths:
            std::snprintf(out, size, "%.3f", v / 1000.0);
            return;
        case Format::kTypeName:
            std::snprintf(out, size, "%s", TypeName(v));
            return;
        case Format::kSdModeName:
            std::snprintf(out, size, "%s", SdModeName(v));
            return;
        case Format::kRippleTimesName:
            std::snprintf(out, size, "%s", RippleTimesName(v));
            return;
    }
}

bool IsChoice(const ParamRow& row) {
    return row.keypad == Keypad::kNone;
}

void Text(uint32_t colour, uint16_t align) {
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SelectFont(&kMenuListFont);
    GUI_SetAlign(align);
    SetColorRGB(colour);
}

void PaintEdited(int k, const ParamRow& row) {
    DrawEditFieldBar(0, 0, kFieldW);
    const panel::EditView& e = g_EditShown;
    char text[32];
    if (IsChoice(row)) {
        FormatValue(row, e.workValue, text, sizeof text);
        Text(0xFFFFFF, GUI_TA_HCENTER | GUI_TA_VCENTER);
        GUI_DrawTextAt(text, 75, 13);
        return;
    }
    if (e.buf.entryState != 0) {
        std::snprintf(text, sizeof text, "%.*s", static_cast<int>(e.buf.entryLength), e.buf.entryText);
        Text(0xFFFFFF, GUI_TA_LEFT | GUI_TA_TOP);
        GUI_DrawTextAt(text, 3, 3);
        return;
    }
    FormatValue(row, e.workValue, text, sizeof text);
    const size_t n = std::strlen(text);
    const bool percent = n > 0 && text[n - 1] == '%';
    const int right = (Mapped(k, row.edit) ? 60 : 135) - (percent ? 6 : 0);
    Text(0xFFFFFF, GUI_TA_LEFT | GUI_TA_TOP);
    DrawDigitsWithCursor(e.cursor, text, right, 3);
}

}  // namespace

void PaintParamPanel() {
    DrawBodyBackground(kPanelX, kPanelY);
    const uint16_t* views = nullptr;
    const int n = RowsOfType(DisplayedType(), &views);
    Text(0x000000, GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_DrawTextAt("Built In", 1, 14);
    GUI_DrawTextAt(":", kLabelColonX + 1, 14);
    SetColorRGB(0xFFFFFF);
    GUI_DrawTextAt("Built In", 0, 13);
    GUI_DrawTextAt(":", kLabelColonX, 13);
    for (int k = 1; k < n; ++k) {
        const int y = kRowPitch * k + 13;
        GUI_DrawTextAt(RowOf(views[k])->label, 0, y);
        GUI_DrawTextAt(":", kLabelColonX, y);
    }
}

void PaintValueField(int k) {
    DrawBodyBackground(kPanelX + kFieldX, kPanelY + kRowPitch * k);
    const uint16_t* views = nullptr;
    const int n = RowsOfType(DisplayedType(), &views);
    if (k < 0 || k >= n) return;
    const ParamRow& row = *RowOf(views[k]);
    const uint32_t state = MenuPage_State();
    char text[32];
    if (state == row.edit) {
        PaintEdited(k, row);
    } else if (state == row.edit + 1u) {
        DrawSelectFieldBar(0, 0, kFieldW);
        FormatValue(row, row.get(), text, sizeof text);
        Text(0x000000, GUI_TA_HCENTER | GUI_TA_VCENTER);
        GUI_DrawTextAt(text, 75, 13);
    } else {
        FormatValue(row, row.get(), text, sizeof text);
        Text(0xFFFFFF, GUI_TA_LEFT | GUI_TA_TOP);
        GUI_DrawTextAt(text, 5, 0);
    }
}

}  // namespace arbedit
