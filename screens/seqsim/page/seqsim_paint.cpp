#include "screens/seqsim/page/seqsim_paint.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "GUI/text/gui_font.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/pages/panel_fonts.h"
#include "panel/pages/text_log.h"

namespace seqsim {

WM_HWINDOW g_Win[kWinCount] = {};
View g_Shown{};

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kYellow = 0xFFFF00, kGreen = 0x00FF00;
constexpr uint32_t kGrey = 0x666666, kAxis = 0xA0A0A0;
constexpr int kValueRight = 178, kUnitX = 182, kBarWidth = 231;

void Text(const char* text, int x, int y, uint32_t colour, const GUI_FONTDEF& font, uint16_t align) {
    GUI_SelectFont(&font);
    SetColorRGB(colour);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(align);
    GUI_DrawTextAt(text, x, y);
    GUI_SetAlign(GUI_TA_LEFT);
}

// A number drawn digit by digit with the edit cursor under one of them, ending at rightX; the text log
// records it as one right-aligned text.
void DigitsWithCursor(const char* text, uint32_t cursor, int rightX, int y, uint32_t colour) {
    GUI_SelectFont(&kFont16);
    SetColorRGB(colour);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    DrawDigitsWithCursor(cursor, text, rightX, y);
    GUI_SetAlign(GUI_TA_RIGHT);
    TextLog_CharsDrawn(text, rightX, y);
    GUI_SetAlign(GUI_TA_LEFT);
}

void PaintRow(const Row& row, int x, int y) {
    const bool edited = row.mark == kRowEditing;
    if (edited)
        DrawEditFieldBar(x - 3, y - 3, kBarWidth);
    else if (row.mark == kRowSelected)
        DrawSelectFieldBar(x - 3, y - 3, kBarWidth);
    const uint32_t colour = row.mark == kRowSelected ? kBlack : kWhite;
    Text(row.label, x + 2, y + 2, colour, kFont16, GUI_TA_LEFT);
    const uint32_t valueColour = edited ? kYellow : colour;
    if (edited && row.numeric != 0)
        DigitsWithCursor(row.value, row.cursor, x + kValueRight, y + 2, valueColour);
    else
        Text(row.value, x + kValueRight, y + 2, valueColour, kFont16, GUI_TA_RIGHT);
    if (row.unit[0] != '\0') Text(row.unit, x + kUnitX, y + 2, colour, kFont16, GUI_TA_LEFT);
}

void PaintFields(const BodyView& b) {
    for (int i = 0; i < b.rowCount; ++i) PaintRow(b.rows[i], RowScreenX(i), RowScreenY(i) - kBodyTop);
}

void PaintList(const BodyView& b, uint8_t sim) {
    Text(b.listSave != 0 ? "Save" : "Recall", 20, 10, kYellow, kFont24, GUI_TA_LEFT);
    for (int i = 0; i < 10; ++i) {
        const int y = 50 + 36 * i;
        const bool marked = i == b.listMark;
        if (marked) DrawSelectFieldBar(17, y - 3, 420);
        char text[48];
        std::snprintf(text, sizeof text, "%s%d%s", sim != 0 ? "SIM" : "SEQ", i, i == b.listInUse ? " *" : "");
        const uint32_t colour = marked ? kBlack : kWhite;
        Text(text, 22, y, colour, kFontList, GUI_TA_LEFT);
        Text(b.names[i], 110, y, colour, kFontList, GUI_TA_LEFT);
    }
}

void PaintDialog(const BodyView& b) {
    constexpr int x0 = 160, y0 = 120, x1 = 560, y1 = 300;
    SetColorRGB(kWhite);
    GUI_FillBox(x0, y0, x1, y1);
    SetColorRGB(kGrey);
    GUI_FillBox(x0 + 2, y0 + 2, x1 - 2, y1 - 2);
    Text(b.line1, 360, y0 + 30, kWhite, kFont24, GUI_TA_HCENTER);
    Text(b.line2, 360, y0 + 70, kWhite, kFont24, GUI_TA_HCENTER);
    constexpr int bx0 = 215, bx1 = 415, by = y0 + 120;
    if (b.focusSecond != 0) {
        DrawButtonFrame(bx0, by, 90, 35);
        DrawButtonFrameFocused(bx1, by, 90, 35);
    } else {
        DrawButtonFrameFocused(bx0, by, 90, 35);
        DrawButtonFrame(bx1, by, 90, 35);
    }
    // White on the focused (blue) button, black on the other.
    Text(b.yesNo != 0 ? "YES" : "ENTER", bx0 + 45, by + 8, b.focusSecond != 0 ? kBlack : kWhite, kFont16,
         GUI_TA_HCENTER);
    Text(b.yesNo != 0 ? "NO" : "CANCEL", bx1 + 45, by + 8, b.focusSecond != 0 ? kWhite : kBlack, kFont16,
         GUI_TA_HCENTER);
}

void PaintAxes() {
    SetColorRGB(kAxis);
    GUI_DrawFrame(kGraphX0, kGraphY0, kGraphX1, kGraphY1);
    const int mid = (kGraphY0 + kGraphY1) / 2;
    GUI_Line(kGraphX0, mid, kGraphX1, mid);
}

// One sample of a phase's output at fraction t of a cycle, in units of its peak-to-zero swing.
double Shape(int32_t wave, double t) {
    const double x = t - std::floor(t);
    if (wave == kWaveCodeSqu) return x < 0.5 ? 1.0 : -1.0;
    if (wave == kWaveCodeTri) return x < 0.25 ? 4 * x : x < 0.75 ? 2 - 4 * x : 4 * x - 4;
    return std::sin(2 * M_PI * x);
}

// The step preview: one cycle (choice 1) or two (choice 0) of each traced phase's voltage, DC offset
// included, scaled to the largest peak of the traced phases.
void PaintStepPreview(const BodyView& b) {
    PaintAxes();
    Text(b.choice != 0 ? "1 cycle" : "2 cycles", kGraphX0, kGraphY0 - 30, kWhite, kFont16, GUI_TA_LEFT);
    double peak = 1.0;
    for (int p = 0; p < 3; ++p)
        if (b.mask & (1u << p))
            peak = std::fmax(peak, std::fabs(b.traces[p].dcv) + std::fabs(b.traces[p].acv) * std::sqrt(2.0));
    const double cycles = b.choice != 0 ? 1.0 : 2.0;
    const int mid = (kGraphY0 + kGraphY1) / 2, half = (kGraphY1 - kGraphY0) / 2 - 4;
    for (int p = 0; p < 3; ++p) {
        if ((b.mask & (1u << p)) == 0) continue;
        const Trace& t = b.traces[p];
        SetColorRGB(kTraceColour[p]);
        int lastY = 0;
        for (int x = kGraphX0 + 1; x < kGraphX1; ++x) {
            const double f = cycles * (x - kGraphX0) / (kGraphX1 - kGraphX0) - t.angle / 3600.0;
            const double v = t.dcv + t.acv * std::sqrt(2.0) * Shape(t.wave, f);
            const int y = mid - static_cast<int>(std::lround(v / peak * half));
            if (x > kGraphX0 + 1) GUI_Line(x - 1, lastY, x, y);
            lastY = y;
        }
    }
}

// The RUN preview: the level of each traced phase along the execution order (AC voltage, DC voltage in the
// DC kind), the position marked.
void PaintRunPreview(const BodyView& b) {
    PaintAxes();
    const uint32_t count = b.count;
    if (count == 0) return;
    double top = 1.0;
    for (int p = 0; p < 3; ++p)
        if (b.mask & (1u << p))
            for (int32_t v : b.levels[p]) top = std::fmax(top, std::fabs(static_cast<double>(v)));
    const int mid = (kGraphY0 + kGraphY1) / 2, half = (kGraphY1 - kGraphY0) / 2 - 4;
    for (int p = 0; p < 3; ++p) {
        if ((b.mask & (1u << p)) == 0) continue;
        SetColorRGB(kTraceColour[p]);
        int lastY = 0;
        for (int x = 0; x < kGraphColumns; ++x) {
            const int y = mid - static_cast<int>(std::lround(b.levels[p][x] / top * half));
            if (x > 0) GUI_Line(kGraphX0 + x, lastY, kGraphX0 + 1 + x, y);
            lastY = y;
        }
    }
    if (b.position >= 1 && b.position <= count) {
        const int x = kGraphX0 + 1 + static_cast<int>((b.position - 1) * static_cast<uint64_t>(kGraphColumns) / count);
        SetColorRGB(kWhite);
        GUI_Line(x, kGraphY0, x, kGraphY1);
    }
    if (b.editing != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(b.edited));
        Text("Position", kGraphX0, kGraphY0 - 30, kWhite, kFont16, GUI_TA_LEFT);
        DigitsWithCursor(text, b.cursor, kGraphX0 + 140, kGraphY0 - 30, kYellow);
    }
}

int Lines(const char* label) {
    int n = 1;
    for (const char* c = label; *c != '\0'; ++c) n += *c == '\n';
    return n;
}

}  // namespace

void PaintRoot(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    SetBkColorRGB(kBlack);
    GUI_ClearWindow();
}

void PaintTitle(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    const TitleView& t = g_Shown.title;
    SetBkColorRGB(kBlack);
    GUI_ClearWindow();
    Text(t.sim != 0 ? "SIMULATE" : "SEQUENCE", 10, 8, kWhite, kFont24, GUI_TA_LEFT);
    Text(t.header, 250, 8, kYellow, kFont24, GUI_TA_LEFT);
    const bool running = std::strcmp(t.run, "RUN") == 0;
    Text(t.run, 710, 8, running ? kGreen : kWhite, kFont24, GUI_TA_RIGHT);
}

void PaintBody(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    SetBkColorRGB(kBlack);
    GUI_ClearWindow();
    DrawContentBackground(0, 0);
    const BodyView& b = g_Shown.body;
    switch (b.kind) {
        case kBodyList: PaintList(b, g_Shown.title.sim); break;
        case kBodyDialog: PaintDialog(b); break;
        case kBodyStepPreview: PaintStepPreview(b); break;
        case kBodyRunPreview: PaintRunPreview(b); break;
        default: PaintFields(b); break;
    }
}

void PaintKey(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) return WM_DefaultHandler(msg);
    SetBkColorRGB(kBlack);
    GUI_ClearWindow();
    for (int k = 0; k < kSoftKeys; ++k) {
        if (msg->hWin != g_Win[kWinKey0 + k]) continue;
        const KeyView& key = g_Shown.keys[k];
        if (key.label[0] == '\0') return;  // a key without a function stays blank
        DrawSoftKey(key.label, key.style, Lines(key.label));
    }
}

}  // namespace seqsim
