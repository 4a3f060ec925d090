// The ten limit popups: which record each shows, in which output modes, and its words.
#include "panel/dialogs/limit_popup_paint.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "panel/dialogs/limit_draw.h"
#include "panel/draw/value_format.h"

namespace {

constexpr uint32_t Modes(std::initializer_list<int> modes) {
    uint32_t set = 0;
    for (int m : modes)
        set |= 1u << m;
    return set;
}
constexpr uint32_t kAllModes = 0x3FF;
constexpr uint32_t kVpkModes = Modes({0, 2, 5, 7});
constexpr uint32_t kFreqModes = Modes({0, 1, 5, 6, 9});
constexpr uint32_t kVoltLimitModes = Modes({1, 6, 8});

// A popup whose output mode is not among its modes paints nothing.
bool InModes(uint32_t modes) {
    const uint32_t mode = GetOutputMode();
    return mode < 32 && ((modes >> mode) & 1u) != 0;
}

bool Painting(WM_MSG_RECORD* msg) {
    if (msg->MsgId == WM_MSG_PAINT) return true;
    WM_DefaultHandler(msg);
    return false;
}

constexpr size_t kTextSize = 48;
constexpr size_t kRangeSize = 2 * kTextSize + 16;

void Format(int32_t value, const ParamRec& rec, char* out) {
    FormatScaledValue(0, value, out, kTextSize, rec.decimals, rec.scale, rec.unitText);
}

void FormatRange(const ParamRec& rec, char* out) {
    char low[kTextSize], high[kTextSize];
    Format(rec.min, rec, low);
    Format(rec.max, rec, high);
    std::snprintf(out, kRangeSize, "%s ~ %s %s", low, high, rec.unitText != nullptr ? rec.unitText : "");
}

struct KindPopup {
    const char* title;
    const char* firstLabel;
    const char* secondLabel;
    uint32_t firstId, secondId;
    uint32_t flag;  // the kind flag: set, the second limit is the one to edit
    uint32_t modes;
};
constexpr KindPopup kIpkKind{"IPK Limit", "IPK+", "IPK-", kParamIpkMax, kParamIpkMin, core::kFlagIpkKind, kAllModes};
constexpr KindPopup kVpkKind{"Volt Limit", "VPK+", "VPK-", kParamVpkMax, kParamVpkMin, core::kFlagVpkKind, kVpkModes};
constexpr KindPopup kFreqKind{"Freq Limit", "Freq Hi", "Freq Lo", kParamFreqLimitHi, kParamFreqLimitLo,
                              core::kFlagFreqLimitKind, kFreqModes};

void KindFrame(const KindPopup& p) {
    if (InModes(p.modes)) DrawLimitDialog(0, p.title, p.firstLabel, p.secondLabel, "", 0);
}

void KindButtons(const KindPopup& p) {
    if (!InModes(p.modes)) return;
    const uint32_t phase = core::SelectedPhase();
    ParamRec first{}, second{};
    paramGetRecord(p.firstId, &first, phase);
    paramGetRecord(p.secondId, &second, phase);
    char a[kTextSize], b[kTextSize];
    Format(first.value, first, a);
    Format(second.value, second, b);
    const int focusSecond = (g_ParamFlags.load(std::memory_order_relaxed) & p.flag) != 0 ? 1 : 0;
    DrawLimitDialog(1, "", a, b, "", focusSecond);
}

struct ValuePopup {
    const char* title;
    uint32_t id;
    bool phase0;     // the record of L1 whatever phase is selected
    bool magnitude;  // a lower limit: its minus sign is drawn apart
    uint32_t modes;
};
constexpr ValuePopup kIpkHi{"IPK+ Limit", kParamIpkMax, true, false, kAllModes};
constexpr ValuePopup kIpkLo{"IPK- Limit", kParamIpkMin, false, true, kAllModes};
constexpr ValuePopup kVpkHi{"VPK+ Limit", kParamVpkMax, false, false, kVpkModes};
constexpr ValuePopup kVpkLo{"VPK- Limit", kParamVpkMin, false, true, kVpkModes};
constexpr ValuePopup kFreqHi{"Freq Hi Limit", kParamFreqLimitHi, false, false, kFreqModes};
constexpr ValuePopup kFreqLo{"Freq Lo Limit", kParamFreqLimitLo, false, false, kFreqModes};

ParamRec RecordOf(const ValuePopup& p) {
    ParamRec rec{};
    paramGetRecord(p.id, &rec, p.phase0 ? 0 : core::SelectedPhase());
    return rec;
}

void ValueFrame(const ValuePopup& p) {
    if (!InModes(p.modes)) return;
    char range[kRangeSize];
    FormatRange(RecordOf(p), range);
    DrawLimitDialog(0, p.title, "", "", range, 1);
}

// The working value; a magnitude saturates where the negative end has no positive twin.
void FormatWorkValue(const ParamRec& rec, bool magnitude, char* out) {
    int64_t value = g_EditShown.workValue;
    if (magnitude) value = std::min<int64_t>(std::llabs(value), INT32_MAX);
    Format(static_cast<int32_t>(value), rec, out);
}

void ValueChild(const ValuePopup& p) {
    if (!InModes(p.modes)) return;
    char value[kTextSize];
    FormatWorkValue(RecordOf(p), p.magnitude, value);
    DrawLimitDialog(2, "", "", "", value, 0);
}

}  // namespace

void IpkKindPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindFrame(kIpkKind);
}
void IpkKindButtons_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindButtons(kIpkKind);
}
void IpkHiPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kIpkHi);
}
void IpkHiValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kIpkHi);
}
void IpkLoPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kIpkLo);
}
void IpkLoValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kIpkLo);
}
void VpkKindPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindFrame(kVpkKind);
}
void VpkKindButtons_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindButtons(kVpkKind);
}
void VpkHiPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kVpkHi);
}
void VpkHiValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kVpkHi);
}
void VpkLoPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kVpkLo);
}
void VpkLoValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kVpkLo);
}
void FreqKindPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindFrame(kFreqKind);
}
void FreqKindButtons_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) KindButtons(kFreqKind);
}
void FreqHiPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kFreqHi);
}
void FreqHiValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kFreqHi);
}
void FreqLoPopup_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueFrame(kFreqLo);
}
void FreqLoValue_Paint(WM_MSG_RECORD* msg) {
    if (Painting(msg)) ValueChild(kFreqLo);
}

// The voltage limit's title names the unit its record is kept in (Vrms or Vpp).
void VoltLimitPopup_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || !InModes(kVoltLimitModes)) return;
    ParamRec rec{};
    paramGetRecord(kParamVoltLimit, &rec, core::SelectedPhase());
    char title[kTextSize], range[kRangeSize];
    std::snprintf(title, sizeof title, "%s Limit", rec.unitText != nullptr ? rec.unitText : "");
    FormatRange(rec, range);
    DrawLimitPopup(0, title, range, "");
}

void VoltLimitValue_Paint(WM_MSG_RECORD* msg) {
    if (!Painting(msg) || !InModes(kVoltLimitModes)) return;
    char value[kTextSize];
    ParamRec rec{};
    paramGetRecord(kParamVoltLimit, &rec, core::SelectedPhase());
    FormatWorkValue(rec, false, value);
    DrawLimitPopup(2, "", "", value);
}
