// The simple page's eight soft keys: preset memories in preset mode, else the table's or the harmonic
// view's keys.
#include <atomic>
#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/simple/simple_paint.h"
#include "screens/output/simple/simple_windows.h"

namespace simple {
namespace {

constexpr int kNormal = 0, kGrey = 2;
constexpr uint32_t kLastPage = 4;

struct Face {
    const char* label;  // null: the key is blank
    int style;
};

constexpr const char* kMeterSetKey[3] = {"[RMS]\nAVG\nPEAK", "RMS\n[AVG]\nPEAK", "RMS\nAVG\n[PEAK]"};
constexpr const char* kQuantityKey[2] = {"[THDv]\nTHDi", "THDv\n[THDi]"};
constexpr const char* kLineKey3P4W[3] = {"[L1]\nL2\nL3", "L1\n[L2]\nL3", "L1\nL2\n[L3]"};
constexpr const char* kLineKey1P3W[2] = {"[L1]\nL2", "L1\n[L2]"};
constexpr const char* kPresetKeys[kSoftKeys] = {"Preset\nM0", "Preset\nM1", "Preset\nM2", "Preset\nM3",
                                                 "Preset\nM4", "Preset\nM5", "Preset\nM6", "Preset\nM7"};

bool Flag(uint32_t bit) {
    return (g_ParamFlags.load(std::memory_order_relaxed) & bit) != 0;
}

Face LineKey() {
    const uint32_t wiring = GetPhaseMode();
    if (wiring == kWiring1P2W) return {"L1", kGrey};
    if (wiring == kWiring3P4W) return {kLineKey3P4W[g_Shown.line < 3 ? g_Shown.line : 0], kNormal};
    return {kLineKey1P3W[g_Shown.line < 2 ? g_Shown.line : 0], kNormal};
}

Face HarmonicFace(int key) {
    switch (key) {
        case 0: return {"DISPLAY", kNormal};
        case 1: return LineKey();
        case 2: return {"Simple\n[Harm]", kNormal};
        case 3: return {kQuantityKey[g_Shown.harmonicQuantity == 1 ? 1 : 0], kNormal};
        case 4: return {g_Shown.harmonicPage == 0 ? nullptr : "Page\nUp", kNormal};
        case 5: return {g_Shown.harmonicPage >= kLastPage ? nullptr : "Page\nDown", kNormal};
        default: return {nullptr, kNormal};
    }
}

Face TableFace(int key) {
    switch (key) {
        case 0: return {"DISPLAY", kNormal};
        case 2: return {"[Simple]\nHarm", HarmonicAllowed() ? kNormal : kGrey};
        case 3: return {kMeterSetKey[g_Shown.meterSet < 3 ? g_Shown.meterSet : 0], kNormal};
        case 4: return {"PK CLR", kNormal};
        case 7: return g_Shown.frozen != 0 ? Face{"RUN\n[HOLD]", kGrey} : Face{"[RUN]\nHOLD", kNormal};
        default: return {nullptr, kNormal};
    }
}

Face FaceOf(int key) {
    if (g_Shown.harmonicView == 1) return HarmonicFace(key);
    if (Flag(core::kFlagPresetMode)) return {kPresetKeys[key], kNormal};
    return TableFace(key);
}

int Lines(const char* label) {
    int n = 1;
    for (const char* p = label; *p != '\0'; ++p)
        n += *p == '\n';
    return n;
}

}  // namespace

bool HarmonicAllowed() {
    return IsAcIntNoSeqSim() != 0 && !Flag(core::kFlagPresetMode) && !Flag(core::kFlagMeterHold);
}

}  // namespace simple

using namespace simple;

void SimplePaint_SoftKeyColumn(WM_MSG_RECORD* msg) {
    // The eight keys cover the column.
    if (msg->MsgId != WM_MSG_PAINT) WM_DefaultHandler(msg);
}

void SimplePaint_SoftKey(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    const int key = SimpleWin_IndexOf(msg->hWin) - kWinSoftKey0;
    if (key < 0 || key >= kSoftKeys) return;
    const Face face = FaceOf(key);
    ClearWindow();  // the key face leaves the column's first pixels free
    if (face.label != nullptr) DrawSoftKey(face.label, face.style, Lines(face.label));
}
