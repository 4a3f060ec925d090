#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"

namespace {

constexpr int kNormal = 0, kSelected = 1, kGreyed = 2;

struct KeyFace {
    const char* label = nullptr;  // null: the key is cleared
    int style = kNormal;
    int lines = 1;
};

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return false;
    }
    panel::OverlayCountPaint(msg->hWin);
    return true;
}

void Draw(const KeyFace& face) {
    if (face.label == nullptr)
        ClearWindow();
    else
        DrawSoftKey(face.label, face.style, face.lines);
}

uint32_t State() {
    return g_OverlayTrack.state;
}
bool OneOf(uint32_t state, std::initializer_list<uint32_t> states) {
    for (uint32_t s : states)
        if (s == state) return true;
    return false;
}
bool DefaultState(uint32_t s) {
    return OneOf(s, {12, 47, 50, 51, 54, 57, 75, 78});
}
bool PhaseState(uint32_t s) {
    return OneOf(s, {64, 67, 68, 71});
}
bool PhaseFixed(uint32_t s) {
    const int phase = static_cast<int>(core::SelectedPhase());
    return (s <= 67 ? GetOnPhaseState(phase) : GetOffPhaseState(phase)) == 1;
}
uint32_t RangeCode() {
    return core::CurrentRangeCode();
}

// "DEF1\n<value>" or "DEF2\n<value>" of the state's record (line states show their phase records').
const char* DefaultLabel(int which, char* out, size_t size) {
    uint32_t id = State();
    if (id == kParamAcvLine) id = kParamAcv;
    if (id == kParamDcv || id == kParamDcvLine) id = kParamDcv2;
    ParamRec rec;
    paramRW(0, id, &rec, 0);
    char value[24];
    FormatScaledValue(2, which == 1 ? rec.def1 : rec.def2, value, sizeof value, rec.decimals, rec.scale,
                      rec.unitText);
    std::snprintf(out, size, "DEF%d\n%s", which, value);
    return out;
}

// MAX and MIN share their states; the range keys of state 22 name the two ranges.
KeyFace LimitKey(const char* limit, const char* range, bool rangeSelected) {
    const uint32_t s = State();
    if (s == 22) return {range, rangeSelected ? kSelected : kNormal, 1};
    if (OneOf(s, {8, 10, 11, 12, 16, 19, 24, 27, 47, 50, 51, 54, 57, 58, 61, 75, 78, 89})) return {limit};
    if (PhaseState(s)) return {limit, PhaseFixed(s) ? kNormal : kGreyed, 1};
    return {};
}

}  // namespace

void SoftKey1_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t s = State();
    const uint32_t mode = g_OutputModeIdx.load(std::memory_order_relaxed);
    char text[48];
    KeyFace face;
    if (DefaultState(s)) {
        face = {DefaultLabel(1, text, sizeof text), kNormal, 2};
    } else if (s == 22) {
        const bool autoAllowed = OneOf(mode, {0, 1, 2, 7, 8});
        const bool onAuto = RangeCode() == 4 || RangeCode() == 6;
        face = {"AUTO", !autoAllowed ? kGreyed : (onAuto ? kSelected : kNormal), 1};
    } else if (s == 24 || s == 27) {
        face = {GetIpkLimitMode() == 1 ? "IPK\nLimit\n[On]/Off" : "IPK\nLimit\nOn/[Off]",
                g_PhaseMode.load(std::memory_order_relaxed) == 2 ? kGreyed : kNormal, 3};
    } else if (s == 58 || s == 61) {
        face = {GetIrmsLimitMode() == 1 ? "IRMS\nLimit\n[On]/Off" : "IRMS\nLimit\nOn/[Off]", kNormal, 3};
    } else if (PhaseState(s)) {
        face = {PhaseFixed(s) ? "[FIXED]\nFREE" : "FIXED\n[FREE]", kNormal, 2};
    }
    Draw(face);
}

void SoftKey2_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t s = State();
    char text[48];
    KeyFace face;
    if (DefaultState(s))
        face = {DefaultLabel(2, text, sizeof text), kNormal, 2};
    else if (s == 58 || s == 61)
        face = {"IPK CLR"};
    Draw(face);
}

void SoftKey3_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw(LimitKey("MAX", "200V", RangeCode() == 1 || RangeCode() == 3));
}

void SoftKey4_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw(LimitKey("MIN", "100V", RangeCode() == 0 || RangeCode() == 2));
}

void SoftKeyBlank_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw({});
}

void SoftKey8_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw(OneOf(State(), {3, 9, 15, 23}) ? KeyFace{"EXIT"} : KeyFace{});
}
