#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/draw/value_format.h"
#include "panel/menu/home_field_rows.h"
#include "panel/overlay/overlay_layout.h"
#include "panel/overlay/overlay_paint.h"
#include "panel/overlay/overlay_track.h"
#include "platform/stage/wiring_codes.h"

namespace {

namespace home = panel::home;

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
bool OneOf(uint32_t value, std::initializer_list<uint32_t> values) {
    for (uint32_t v : values)
        if (v == value) return true;
    return false;
}
// The faces of the tracked state's keys; a state outside the home fields has none.
home::SoftKeys Faces() {
    const home::HomeFieldRow* row = home::HomeFieldOf(State());
    return row != nullptr ? row->softKeys : home::SoftKeys::kNone;
}
// The FIXED/FREE word of the angle the tracked state edits.
bool PhaseFixed() {
    const home::HomeFieldRow* row = home::HomeFieldOf(State());
    const int phase = static_cast<int>(core::SelectedPhase());
    const bool on = row != nullptr && row->keys.gate == home::Gate::kOnAngle;
    return (on ? GetOnPhaseState(phase) : GetOffPhaseState(phase)) == 1;
}
uint32_t RangeCode() {
    return core::CurrentRangeCode();
}

// "DEF1\n<value>" or "DEF2\n<value>" of the state's defaults record.
const char* DefaultLabel(int which, char* out, size_t size) {
    ParamRec rec;
    paramGetRecord(home::HomeFieldOf(State())->defaults, &rec, 0);
    char value[24];
    FormatScaledValue(2, which == 1 ? rec.def1 : rec.def2, value, sizeof value, rec.decimals, rec.scale,
                      rec.unitText);
    std::snprintf(out, size, "DEF%d\n%s", which, value);
    return out;
}

// MAX and MIN share their states; the range keys name the two ranges.
KeyFace LimitKey(const char* limit, const char* range, bool rangeSelected) {
    switch (Faces()) {
        case home::SoftKeys::kRange:
            return {range, rangeSelected ? kSelected : kNormal, 1};
        case home::SoftKeys::kDefaults:
        case home::SoftKeys::kLimits:
        case home::SoftKeys::kIpkLimit:
        case home::SoftKeys::kIrmsLimit:
            return {limit};
        case home::SoftKeys::kFixedFree:
            return {limit, PhaseFixed() ? kNormal : kGreyed, 1};
        default:
            return {};
    }
}

}  // namespace

void SoftKey1_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    const uint32_t mode = g_OutputModeIdx.load(std::memory_order_relaxed);
    char text[48];
    KeyFace face;
    switch (Faces()) {
        case home::SoftKeys::kDefaults:
            face = {DefaultLabel(1, text, sizeof text), kNormal, 2};
            break;
        case home::SoftKeys::kRange: {
            const bool autoAllowed = OneOf(mode, {0, 1, 2, 7, 8});
            const bool onAuto = RangeCode() == core::kRangeAuto3P || RangeCode() == core::kRangeAuto1P2W;
            face = {"AUTO", !autoAllowed ? kGreyed : (onAuto ? kSelected : kNormal), 1};
            break;
        }
        case home::SoftKeys::kIpkLimit:
            face = {GetIpkLimitMode() == 1 ? "IPK\nLimit\n[On]/Off" : "IPK\nLimit\nOn/[Off]",
                    g_PhaseMode.load(std::memory_order_relaxed) == kWiring1P3W ? kGreyed : kNormal, 3};
            break;
        case home::SoftKeys::kIrmsLimit:
            face = {GetIrmsLimitMode() == 1 ? "IRMS\nLimit\n[On]/Off" : "IRMS\nLimit\nOn/[Off]", kNormal, 3};
            break;
        case home::SoftKeys::kFixedFree:
            face = {PhaseFixed() ? "[FIXED]\nFREE" : "FIXED\n[FREE]", kNormal, 2};
            break;
        default:
            break;
    }
    Draw(face);
}

void SoftKey2_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    char text[48];
    KeyFace face;
    if (Faces() == home::SoftKeys::kDefaults)
        face = {DefaultLabel(2, text, sizeof text), kNormal, 2};
    else if (Faces() == home::SoftKeys::kIrmsLimit)
        face = {"IPK CLR"};
    Draw(face);
}

void SoftKey3_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw(LimitKey("MAX", "200V", RangeCode() == core::kRange200V3P || RangeCode() == core::kRange200V1P2W));
}

void SoftKey4_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw(LimitKey("MIN", "100V", RangeCode() == core::kRange100V3P || RangeCode() == core::kRange100V1P2W));
}

void SoftKeyBlank_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    Draw({});
}

void SoftKey8_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg)) return;
    // The configure-phase dialog leaves by EXIT as the kind popups do.
    const bool exit = State() == kMenuPhaseDialog || Faces() == home::SoftKeys::kExit;
    Draw(exit ? KeyFace{"EXIT"} : KeyFace{});
}
