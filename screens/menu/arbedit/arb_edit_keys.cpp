#include "screens/menu/arbedit/arb_edit_keys.h"

#include <atomic>

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "engine/arb/arb_builder.h"
#include "panel/edit/edit_common.h"
#include "panel/menu_entries.h"
#include "screens/menu/arbedit/arb_edit_table.h"
#include "screens/menu/rows/row_entries.h"
#include "screens/output/keys/key_table.h"

using namespace arbedit;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kRippleType = 28, kDipType = 29, kLfRingType = 30;
constexpr int32_t kRippleLevelPresets[4] = {2, 5, 10, 15};

struct Key {
    uint8_t code, cls;
    int8_t delta;
    bool Soft(uint8_t c) const { return cls == kClassSoft && code == c; }
    // Soft key 2-4 as phase 0-2, -1 for any other key.
    int Phase() const {
        return cls == kClassSoft && code >= kKeySoft2 && code <= kKeySoft4 ? code - kKeySoft2 : -1;
    }
};

Key Unpack(uint32_t ev) {
    return {KeyEventCode(ev), KeyEventClass(ev), KeyEventDelta(ev)};
}

uint32_t State() {
    return g_MenuState.load(kRelaxed);
}

int32_t Work() {
    return g_EditParam.workValue.load(kRelaxed);
}

// The choice word follows so that the page repaints a choice being stepped.
void SetWork(int32_t v) {
    g_EditParam.workValue.store(v, kRelaxed);
    g_EditBuf.choiceValue = static_cast<uint32_t>(v);
}

void EnterWithBuilderValue(uint32_t state) {
    if (state == kTypeView) {
        menuEnterArbitraryMode();
        return;
    }
    menuEnterStateValue(state, RowOf(state)->get());
}

// Back to the view state with the builder's value: the working value and any typed number are dropped.
void LeaveToView(const ParamRow& row, bool preview) {
    menuEnterStateValue(row.edit + 1u, row.get());
    if (preview) ArbBuild_RequestPreview();
}

void Accept(const ParamRow& row) {
    int32_t v = Work();
    // A choice takes no typed number. A typed number that does not fit the builder's word is dropped like
    // one the setter refuses.
    const bool typed = row.keypad != Keypad::kNone && panel::edit::EntryPending();
    const bool have = !typed || TypedValue(row, g_EditBuf.entryValue, &v);
    if (have) row.set(v);
    if (row.accept & kBuild) ArbBuild_SetBuildPending();
    LeaveToView(row, (row.accept & kPreview) != 0);
}

void StepKnob(const ParamRow& row, int8_t delta) {
    int32_t lo = 0, hi = 0;
    KnobRange(row, &lo, &hi);
    const auto cursor = static_cast<int32_t>(g_EditParam.cursor);
    SetWork(EditValueStep(Work(), row.keypad == Keypad::kNone ? 0 : cursor, delta, hi, lo));
}

void MoveCursor(const ParamRow& row, int32_t step) {
    const auto cursor = static_cast<int32_t>(g_EditParam.cursor);
    g_EditParam.cursor = static_cast<uint32_t>(WrapIndex(cursor, step, DigitsOf(row)));
}

void NumericKeys(const ParamRow& row, const Key& k) {
    const bool acv = row.variant == Variant::kLfRingAcv;
    const bool arbNo = row.variant == Variant::kArbNo;
    if (row.variant == Variant::kRippleLevel && k.cls == kClassSoft && k.code >= kKeySoft1 &&
        k.code < kKeySoft1 + 4) {
        SetWork(kRippleLevelPresets[k.code - kKeySoft1]);
        return;
    }
    if (k.Soft(kKeySoft8)) {
        // The preview shows the working value while editing; it goes back to the builder's value too.
        if (row.variant != Variant::kRippleLevel) LeaveToView(row, !arbNo);
        return;
    }
    if (k.code == kKeyKnob || k.code == kKeyLeft || k.code == kKeyRight) {
        if (acv && k.cls != kClassCursor) return;
        if (k.code == kKeyKnob)
            StepKnob(row, k.delta);
        else
            MoveCursor(row, k.code == kKeyRight ? -1 : 1);
        return;
    }
    if (acv && k.cls != kClassKeypad) return;
    if (k.code == kKeyExit)
        LeaveToView(row, !arbNo);
    else if (k.code == kKeyEnter)
        Accept(row);
}

void ChoiceKeys(const ParamRow& row, const Key& k) {
    if (k.code == kKeyKnob && k.cls == kClassCursor) {
        StepKnob(row, k.delta);
        return;
    }
    if (k.code == kKeyEnter) {
        Accept(row);
        return;
    }
    const bool exit = k.code == kKeyExit, menu = k.code == kKeyMenu, soft8 = k.Soft(kKeySoft8);
    switch (row.variant) {
        case Variant::kType:
            if (exit || soft8) LeaveToView(row, true);
            return;
        case Variant::kSdMode:
            if (exit || menu || soft8) LeaveToView(row, false);
            return;
        case Variant::kKeepRms:
            if (menu || soft8)
                menuEnterStateValue(kClipView, ArbBuild_GetClip());
            else if (exit)
                LeaveToView(row, false);
            return;
        case Variant::kRippleTimes:
            if (k.cls == kClassSoft && k.code >= kKeySoft1 && k.code < kKeySoft1 + 4)
                SetWork(k.code - kKeySoft1);
            else if (exit || menu)
                LeaveToView(row, false);
            return;
        default:
            return;
    }
}

enum class Group : uint8_t { kNone, kRipple, kDip, kLfRing };

// What soft keys 2-5 act on in a view state.
Group GroupOf(uint32_t view) {
    if (view >= kMenuArbLfRingAcv && view <= kMenuArbLfRingRing) return Group::kLfRing;
    if (view >= kMenuArbDipStart && view <= kMenuArbDipEnd) return Group::kDip;
    if (view >= kMenuArbRippleLevel && view <= kMenuArbRippleTimes) return Group::kRipple;
    if (view != kArbNoView && view != kTypeView) return Group::kNone;
    switch (ArbBuild_GetType()) {
        case kRippleType:
            return Group::kRipple;
        case kDipType:
            return Group::kDip;
        case kLfRingType:
            return Group::kLfRing;
        default:
            return Group::kNone;
    }
}

void GroupSoftKeys(uint32_t view, const Key& k) {
    const Group g = GroupOf(view);
    const int phase = k.Phase();
    if (g == Group::kLfRing) {
        if (phase >= 0) ArbBuild_ApplyLFRing(phase);
        if (k.Soft(kKeySoft5)) menuArbLFRingDefaults();
    } else if (g == Group::kRipple) {
        if (phase >= 0 && ArbBuild_GetType() == kRippleType) ArbBuild_ApplyRipple(phase);
    } else if (g == Group::kDip) {
        if (phase == 0) ArbDIPSetPreset1();
        if (phase == 1) ArbDIPSetPreset2();
    }
}

// The knob in a view state moves over the rows of the builder's type: up for a delta above 0.
void MoveRow(uint32_t view, int8_t delta) {
    const uint16_t* views = nullptr;
    const int n = RowsOfType(ArbBuild_GetType(), &views);
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (views[i] == view) at = i;
    if (at < 0) return;
    uint32_t to = 0;
    if (view == kArbNoView) {
        if (delta <= 0) return;
        to = views[n - 2];
    } else if (view == kTypeView) {
        // Down from the type row goes to the last parameter row, the one above ARB NO.
        if (delta >= 0) return;
        to = n > 2 ? views[n - 2] : kArbNoView;
    } else {
        to = views[delta > 0 ? at - 1 : at + 1];
    }
    EnterWithBuilderValue(to);
}

// The keep-rms row is reached only from its own edit state and leads only back to it.
void KeepRmsViewKeys(const Key& k) {
    if (k.code == kKeyEnter)
        menuEnterStateValue(kKeepRmsEdit, ArbBuild_GetClipKeepRms());
    else if (k.code == kKeyMenu || k.Soft(kKeySoft8))
        menuEnterSystemInfoItem();
    else if (k.Soft(kKeySoft1))
        ArbBuild_Store();
    else if (k.code == kKeyKnob)
        EnterWithBuilderValue(k.delta > 0 ? kClipView : kArbNoView);
}

}  // namespace

void ArbDIPSetPreset1() {
    ArbBuild_SetDIPStart(1);
    if (ArbBuild_GetDIPSweep() < 900) {
        ArbBuild_SetDIPEnd(900);
        ArbBuild_SetDIPSweep(899);
    } else {
        ArbBuild_SetDIPSweep(899);
        ArbBuild_SetDIPEnd(900);
    }
    ArbBuild_SetBuildPending();
    ArbBuild_RequestPreview();
}

void ArbDIPSetPreset2() {
    ArbBuild_SetDIPEnd(3599);
    ArbBuild_SetDIPSweep(3598);
    ArbBuild_SetDIPStart(2700);
    ArbBuild_SetBuildPending();
    ArbBuild_RequestPreview();
}

void KeyProcess_ArbEdit(uint32_t* ev) {
    const uint32_t state = State();
    const ParamRow* row = RowOf(state);
    if (row == nullptr || state != row->edit) return;
    const Key k = Unpack(*ev);
    if (row->keypad == Keypad::kNone)
        ChoiceKeys(*row, k);
    else
        NumericKeys(*row, k);
}

void KeyProcess_ArbView(uint32_t* ev) {
    const uint32_t state = State();
    const ParamRow* row = RowOf(state);
    if (row == nullptr || state != row->edit + 1u) return;
    const Key k = Unpack(*ev);
    if (state == kKeepRmsView) {
        KeepRmsViewKeys(k);
        return;
    }
    if (k.code == kKeyEnter || k.code == kKeyRight)
        menuEnterStateValue(row->edit, row->get());
    else if (k.code == kKeyLeft)
        menuEnterArbEditItem();
    else if (k.code == kKeyMenu || k.Soft(kKeySoft8))
        menuEnterSystemInfoItem();
    else if (k.code == kKeyKnob)
        MoveRow(state, k.delta);
    else if (k.Soft(kKeySoft1))
        ArbBuild_Store();
    else
        GroupSoftKeys(state, k);
}

int ArbEdit_RegisterKeys() {
    MenuKeySlot slots[kLastView - kFirstEdit + 1] = {};
    for (uint32_t s = kFirstEdit; s <= kLastView; ++s)
        slots[s - kFirstEdit] = {s, (s % 2 == 1) ? KeyProcess_ArbEdit : KeyProcess_ArbView};
    return KeyTable_RegisterMenu(slots, sizeof slots / sizeof slots[0]);
}
