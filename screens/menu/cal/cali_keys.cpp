#include "screens/menu/cal/cali_keys.h"

#include <cmath>
#include <limits>

#include "core/control/calibration/cal_state.h"
#include "core/control/calibration/cali_exit.h"
#include "core/control/calibration/cali_step_record.h"
#include "core/control/calibration/calibration.h"
#include "core/control/output_request.h"
#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "panel/edit/edit_common.h"
#include "screens/menu/cal/cali_pages.h"
#include "screens/output/keys/key_table.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kEntryDisabled = 1u << 0;
constexpr int32_t kLastItem = 8;
constexpr uint32_t kCmdStart = 8, kCmdAbort = 32;
constexpr uint32_t kKindVolt = 0, kKindCurr = 1;

// What starting an item writes and where it goes: a point procedure of one phase, or a one-shot of all
// three phases run to its end.
struct CaliItem {
    uint16_t mode;    // phase bit(s) and kind bit; bit 3 (high range) clear
    uint32_t first;   // the first point state, or 0 for a one-shot
    int32_t oneShot;  // caliExtOffset's kind
};
constexpr CaliItem kItems[kLastItem + 1] = {
    {0x011, kMenuCalVoltR100P0, 0},
    {0x012, kMenuCalVoltR100P0, 0},
    {0x014, kMenuCalVoltR100P0, 0},
    {0x021, kMenuCalCurrP0, 0},
    {0x022, kMenuCalCurrP0, 0},
    {0x024, kMenuCalCurrP0, 0},
    {0x047, 0, 6},
    {0x087, 0, 7},
    {0x107, 0, 8},
};

void WriteMode(uint16_t mode) {
    g_CalState.mode.store(mode, kRelaxed);
    BusReg_SetCaliMode(mode);
}

void WriteCommand(uint32_t cmd) {
    g_CalState.cmd.store(cmd, kRelaxed);
    BusReg_SetCaliCmd(static_cast<int32_t>(cmd));
}

void LockKeys() {
    g_ParamFlags.fetch_or(core::kFlagKeysLocked, kRelaxed);
}
void UnlockKeys() {
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked), kRelaxed);
}

void StartItem(int32_t item) {
    if (item < 0 || item > kLastItem) return;
    const CaliItem& it = kItems[item];
    if (it.first != 0) g_CalState.phase.store(static_cast<uint32_t>(item % 3), kRelaxed);
    WriteMode(it.mode);
    WriteCommand(kCmdStart);
    if (it.first == 0) {
        caliExtOffset(it.oneShot);
        return;
    }
    LockKeys();
    caliEnterStep(it.first);
}

void AbortPoints(uint32_t kind) {
    Enter_menuCalibration();
    WriteCommand(kCmdAbort);
    if (kind == kKindCurr)
        CaliCurrStepSignal();
    else
        CaliVoltStepSignal();
}

// The typed number in the point's units, rounded to the nearest unit (half away from zero); false when
// it has none in 32 bits.
bool TypedUnits(double typed, float scale, int32_t* out) {
    const double units = std::round(typed / static_cast<double>(scale));
    if (!std::isfinite(units) || units < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        units > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return false;
    *out = static_cast<int32_t>(units);
    return true;
}

void PointEnter(uint32_t kind) {
    const uint32_t state = g_MenuState.load(kRelaxed);
    if (g_EditBuf.entryState & kEntryDisabled) {
        caliEnterStep(state);
        return;
    }
    ParamRec rec{};
    caliGetStepRecord(state, &rec);
    int32_t value = g_EditParam.workValue.load(kRelaxed);
    if (panel::edit::EntryPending() && !TypedUnits(g_EditBuf.entryValue, rec.scale, &value)) {
        menuResetEdit();
        return;
    }
    if (value > rec.max || value < rec.min) {
        menuResetEdit();
        return;
    }
    // The keys stay locked until the next point's popup is up; a refused value leaves them free.
    LockKeys();
    if (kind == kKindCurr)
        CaliCurrAvgSet(value);
    else
        CaliVoltAvgSet(value);
}

void PointKnob(int8_t delta) {
    const int32_t work =
        EditValueStep(g_EditParam.workValue.load(kRelaxed), static_cast<int32_t>(g_EditParam.cursor), delta,
                      g_EditParam.max, g_EditParam.min);
    g_EditParam.workValue.store(work, kRelaxed);
    g_EditBuf.entryValue = static_cast<double>(work) * static_cast<double>(g_EditParam.scale);
}

}  // namespace

void menuCalibration(uint32_t* ev) {
    if (OutputFlagTest(kOutFlagOutputOn)) {
        OutputToggle();
        return;
    }
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    const auto selection = g_EditParam.workValue.load(kRelaxed);
    if (cls == kClassSoft) {
        if (code == kKeySoft1) caliSaveExit(1);
        if (code == kKeySoft2) caliRecallExit();
        if (code == kKeySoft3) caliEnterStep(kMenuCalDefaultConfirm);
        if (code == kKeySoft4) {
            CaliModeStart();
            caliGoHome();
        }
    } else if (cls == kClassCursor && code == kKeyKnob) {
        // The list runs downwards: turning the knob up moves the selection up.
        const int32_t next = EditValueStep(selection, 0, -KeyEventDelta(*ev), kLastItem, 0);
        g_EditParam.workValue.store(next, kRelaxed);
        g_CalState.savedSelection.store(static_cast<uint32_t>(next), kRelaxed);
    } else if ((cls == kClassKeypad && code == kKeyEnter) || (cls == kClassCursor && code == kKeyRight)) {
        StartItem(selection);
    }
}

void caliStepKey(uint32_t kind, uint32_t* ev) {
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassKeypad && code == kKeyExit) {
        if (panel::edit::EntryPending()) {
            menuResetEdit();
            return;
        }
        UnlockKeys();
        AbortPoints(kind);
    } else if (cls == kClassSoft && code == kKeySoft4) {
        AbortPoints(kind);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        PointEnter(kind);
    } else if (cls == kClassCursor && (code == kKeyLeft || code == kKeyRight)) {
        g_EditParam.cursor = static_cast<uint32_t>(WrapIndex(static_cast<int32_t>(g_EditParam.cursor),
                                                             code == kKeyLeft ? 1 : -1, g_EditParam.digits));
    } else if (cls == kClassCursor && code == kKeyKnob) {
        PointKnob(KeyEventDelta(*ev));
    }
}

void caliDefaultKey(uint32_t* ev) {
    if (KeyEventClass(*ev) != kClassKeypad) return;
    if (KeyEventCode(*ev) == kKeyEnter) {
        caliDefaultExit();
    } else if (KeyEventCode(*ev) == kKeyExit) {
        if (panel::edit::EntryPending())
            menuResetEdit();
        else
            Enter_menuCalibration();
    }
}

void menuCalDcVR100P0(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCalDcVR100P1(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCalDcVR100P2(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCalDcVR200P0(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCalDcVR200P1(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCalDcVR200P2(uint32_t* ev) {
    caliStepKey(kKindVolt, ev);
}
void menuCaliCurrP0(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCaliCurrP1(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCaliCurrP2(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCaliCurrP3(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCaliCurrP4(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCaliCurrP5(uint32_t* ev) {
    caliStepKey(kKindCurr, ev);
}
void menuCalDefaultEnter(uint32_t* ev) {
    caliDefaultKey(ev);
}

int CaliKeys_Register() {
    constexpr MenuKeySlot kSlots[] = {
        {kMenuCalibration, menuCalibration},    {kMenuCalVoltR100P0, menuCalDcVR100P0},
        {kMenuCalVoltR100P1, menuCalDcVR100P1}, {kMenuCalVoltR100P2, menuCalDcVR100P2},
        {kMenuCalVoltR200P0, menuCalDcVR200P0}, {kMenuCalVoltR200P1, menuCalDcVR200P1},
        {kMenuCalVoltR200P2, menuCalDcVR200P2}, {kMenuCalCurrP0, menuCaliCurrP0},
        {kMenuCalCurrP1, menuCaliCurrP1},       {kMenuCalCurrP2, menuCaliCurrP2},
        {kMenuCalCurrP3, menuCaliCurrP3},       {kMenuCalCurrP4, menuCaliCurrP4},
        {kMenuCalCurrP5, menuCaliCurrP5},       {kMenuCalDefaultConfirm, menuCalDefaultEnter},
    };
    return KeyTable_RegisterMenu(kSlots, sizeof kSlots / sizeof kSlots[0]);
}
