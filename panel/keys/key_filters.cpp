#include "panel/keys/key_filters.h"

#include "core/control/alarms/alarm_state.h"
#include "core/control/alarms/alarms.h"
#include "core/control/output_request.h"
#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/home_screens.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/hardcopy/hardcopy.h"

std::atomic<uint32_t> g_ShiftedYWord{0};

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

constexpr uint32_t kFirstMenuPageState = kMenuSystemInfo;

std::atomic<int32_t (*)()> g_factoryArmCheck{nullptr};

bool FlagSet(uint32_t bit) {
    return (g_ParamFlags.load(kRelaxed) & bit) != 0;
}

bool OnMaster() {
    return GetParallelPosition() == 1;
}

enum ShiftAction : uint8_t { kToClass2, kCopy, kAlarmClear, kPeakClear, kKeep, kShiftY, kFactory };
struct ShiftRow {
    uint8_t key;
    ShiftAction action;
    uint8_t code;  // the class-2 code of kToClass2
};
// Every other key after SHIFT is consumed.
constexpr ShiftRow kShiftTable[] = {
    {kKeyDigit1, kToClass2, kKeyWaveShape},
    {kKeyDigit3, kCopy, 0},
    {kKeyDigit4, kToClass2, kKeyOffPhase},
    {kKeyDigit6, kAlarmClear, 0},
    {kKeyDigit7, kToClass2, kKeyOnPhase},
    {kKeyDigit8, kToClass2, kKeyOutputPhase},
    {kKeyDigit9, kPeakClear, 0},
    {kKeyPoint, kKeep, 0},  // the keypad takes SHIFT with the point as the sign key: the latch stays for it
    {kKeyShift, kKeep, 0},
    {kKeyVoltage, kToClass2, kKeyVoltLimitKind},
    {kKeyFrequency, kToClass2, kKeyFreqLimitKind},
    {kKeyCurrent, kToClass2, kKeyIpkKind},
    {kKeyRange, kToClass2, kKeyMainMode},
    {kKeySoft1, kShiftY, 0},
    {kKeySoft5, kFactory, 0},
};

}  // namespace

void KeyFilters_SetFactoryArmCheck(int32_t (*check)()) {
    g_factoryArmCheck.store(check, std::memory_order_release);
}

int KeyOutputOffFilter(uint32_t* ev) {
    if (!OutputFlagTest(kOutFlagOutputOn) || KeyEventCode(*ev) != kKeyOutput) return -1;
    // OUTPUT switches a live output off in every state and mode, with or without a SEQUENCE/SIMULATE run;
    // a run is stopped as well. The key asks for the off itself rather than leaving it to the run's stop.
    if (SeqSimIsActive() && SeqSimIsRunning()) SeqSimRequestStop();
    SetOutputOnOff(0);
    *ev = 0;
    return 0;
}

int KeyLockFilter(uint32_t* ev) {
    if (FlagSet(core::kFlagShiftLatched)) return -1;
    const uint8_t code = KeyEventCode(*ev);
    const bool locked = FlagSet(core::kFlagKeysLocked);
    if (!OnMaster() || g_AlarmState.summary.load(kRelaxed) != 0) {
        // A slave, or a unit in alarm, can still be unlocked, never locked.
        if (locked && code == kKeyLongLock) {
            g_ParamFlags.fetch_and(~core::kFlagKeysLocked, kRelaxed);
            MsgQueue_PostId(kMsgKeysUnlocked);
        }
        return -1;
    }
    if (!locked) {
        if (code == kKeyLock) {
            g_ParamFlags.fetch_or(core::kFlagKeysLocked, kRelaxed);
            MsgQueue_PostId(kMsgKeysLocked);
        }
        return -1;
    }
    if (code == kKeyOutput) {
        if (OutputFlagTest(kOutFlagOutputOn)) OutputToggle();
    } else if (code == kKeyLongLock) {
        g_ParamFlags.fetch_and(~core::kFlagKeysLocked, kRelaxed);
        MsgQueue_PostId(kMsgKeysUnlocked);
    } else {
        const uint32_t state = g_MenuState.load(kRelaxed);
        if (OutputFlagTest(kOutFlagRemote)) {
            if (code != kKeyShift) MsgQueue_PostId(kMsgRemoteRefused);
        } else if (state != kMenuCalibration && !IsCalPointState(state)) {
            MsgQueue_PostId(kMsgKeysLocked);
        }
    }
    *ev = 0;
    return -1;
}

int KeyPresetToggle(uint32_t* ev) {
    if (FlagSet(core::kFlagShiftLatched) || SeqSimIsActive() || KeyEventCode(*ev) != kKeyPreset) return -1;
    const uint32_t state = g_MenuState.load(kRelaxed);
    if (FlagSet(core::kFlagMeterHold)) {
        MsgQueue_PostId(kMsgMeterFrozen);
    } else if (state == kScreenSimple && g_HomePage.harmonicView.load(kRelaxed) == 1) {
        MsgQueue_PostId(kMsgInvalidInPage);
    } else if (state < kFirstMenuPageState) {
        uint32_t old = g_ParamFlags.load(kRelaxed);
        while (!g_ParamFlags.compare_exchange_weak(
            old, (old ^ core::kFlagPresetMode) & ~core::kFlagPresetRecalled, kRelaxed)) {
        }
    } else {
        MsgQueue_PostId(kMsgInvalidInPage);
    }
    return -1;
}

int KeyShiftTranslate(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyShift) g_ParamFlags.fetch_xor(core::kFlagShiftLatched, kRelaxed);
    if (!FlagSet(core::kFlagShiftLatched)) return -1;
    const ShiftRow* row = nullptr;
    for (const ShiftRow& r : kShiftTable)
        if (r.key == code) row = &r;
    if (row != nullptr && row->action == kKeep) return -1;
    g_ParamFlags.fetch_and(~core::kFlagShiftLatched, kRelaxed);
    if (row == nullptr) {
        *ev = 0;
        return -1;
    }
    switch (row->action) {
        case kToClass2:
            *ev = KeyEventPack(KeyEventDelta(*ev), row->code, kClassShortcut);
            return -1;
        case kShiftY:
            g_ShiftedYWord.store(1, kRelaxed);
            return -1;
        case kCopy:
            Hardcopy_KeyRequest();
            break;
        case kAlarmClear:
            AlarmClear();
            break;
        case kPeakClear:
            PeakClearRequest();
            break;
        case kFactory:
            if (auto check = g_factoryArmCheck.load(std::memory_order_acquire); check != nullptr && check() != 0)
                FactoryDefaultStart();
            break;
        case kKeep:
            break;
    }
    *ev = 0;
    return -1;
}
