#include "panel/keys/key_thread.h"

#include "core/control/output_request.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "drivers/barcode_scanner.h"
#include "drivers/panel_link.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/panel_services.h"
#include "platform/host/clock.h"

namespace {
constexpr int kMenuStartWaits = 250;
constexpr uint32_t kMenuStartWaitMs = 20;
}  // namespace

namespace core {

KeyThreadState g_KeyThreadState{};

uint8_t LongPressCode(uint8_t code) {
    for (const LongPressRow& row : kLongPressRows)
        if (code >= row.first && code <= row.last)
            return static_cast<uint8_t>(row.longFirst + (code - row.first));
    return code;
}

uint32_t ScanCodeKeyEvent(uint8_t usage) {
    if (usage == 98) return KeyEventPack(0, kKeyDigit0, 0);
    if (usage >= 89 && usage <= 97)
        return KeyEventPack(0, static_cast<uint8_t>(kKeyDigit1 + (usage - 89)), 0);
    switch (usage) {
        case 99:
            return KeyEventPack(0, kKeyPoint, 0);
        case 88:
        case 40:
            return KeyEventPack(0, kKeyEnter, 0);
        case 42:
            return KeyEventPack(0, kKeyOutput, 0);
        case 43:
            return KeyEventPack(0, kKeyRight, 0);
        case 84:
            return KeyEventPack(0, kKeyVoltage, 0);
        case 85:
            return KeyEventPack(0, kKeyFrequency, 0);
        case 87:
            return KeyEventPack(1, kKeyKnob, 0);
        case 86:
            return KeyEventPack(-1, kKeyKnob, 0);
        default:
            return 0;
    }
}

}  // namespace core

namespace {

uint8_t ClassOf(uint8_t code, uint8_t keep) {
    if ((code >= kKeyDigit0 && code <= kKeyPoint) || code == kKeyExit || code == kKeyEnter)
        return kClassKeypad;
    if ((code >= kKeyVoltage && code <= kKeyRange) || code == kKeyOnPhase || code == kKeyOffPhase)
        return kClassShortcut;
    if ((code >= kKeySoft1 && code <= kKeySoft8) || (code >= kKeyLongSoft1 && code <= kKeyLongSoft8))
        return kClassSoft;
    if (code == kKeyLeft || code == kKeyRight || code == kKeyKnob) return kClassCursor;
    if ((code >= kKeyLock && code <= kKeyPreset) || code == kKeyShift || code == kKeyOutput ||
        code == kKeyTilde || (code >= kKeyLongDigit0 && code <= kKeyLongRange) || code == kKeyLongPoint ||
        code == kKeyLongMenu)
        return kClassFunction;
    return keep;
}

void ScannerStep(core::KeyThreadState& st) {
    if (st.scanCountdown != 0) {
        --st.scanCountdown;
        return;
    }
    uint8_t usage = static_cast<uint8_t>(HidPoll());
    if (usage != 0) {
        uint32_t ev = core::ScanCodeKeyEvent(usage);
        if (ev != 0) KeyEventPost(KeyCode_SetClass(ev));
    }
    st.scanCountdown = !HidIsOpen() ? 200 : (HidHadData() ? 2 : 10);
}

bool KeysRefused(uint32_t word) {
    if (SysStatusTest(kSysKeysBlocked) || !SysStatusTest(kSysReady) || SysStatusTest(kSysSetCommandsBarred))
        return true;
    if (PowerOnOutputPending() != 0) return true;
    // During a screen copy only the output key may act, and only to switch the output off.
    if (Hardcopy_IsPending() && !(OutputFlagTest(kOutFlagOutputOn) && KeyEventCode(word) == kKeyOutput))
        return true;
    return false;
}

}  // namespace

uint32_t KeyCode_SetClass(uint32_t event) {
    uint8_t code = KeyEventCode(event);
    if (code == kKeyKnobOther) code = kKeyKnob;
    uint8_t cls = ClassOf(code, KeyEventClass(event));
    return (event & 0xFF0000FFu) | (static_cast<uint32_t>(code) << 8) | (static_cast<uint32_t>(cls) << 16);
}

void KeyThread_Init() {
    HidInit();
    KeyEventBoxInit();
    core::g_KeyThreadState = core::KeyThreadState{200, 0, 0, 0, false};
}

void KeyThread_Pass() {
    core::KeyThreadState& st = core::g_KeyThreadState;
    ScannerStep(st);

    const uint32_t read = SpiKeyRead();
    uint32_t k = read != 0 && KeysRefused(read) ? 0 : read;
    st.current = k;

    if (k == 0) {
        if (st.longSent) {
            // A long press ends when its key is let go, not when keys are refused meanwhile (the screen
            // copy that a long MENU press starts): the key still held after the copy is no new press.
            if (read == 0) {
                st.previous = 0;
                st.hold = 0;
                st.longSent = false;
            }
        } else if (st.previous != 0) {
            // Sent on release: a knob turn carries the last nonzero word seen.
            if (st.hold < core::kLongPressPasses) KeyEventPost(KeyCode_SetClass(st.previous));
            st.hold = 0;
        }
    } else if (st.hold >= core::kLongPressPasses) {
        if (!st.longSent) {
            k = (k & 0xFFu) | (static_cast<uint32_t>(core::LongPressCode(KeyEventCode(k))) << 8);
            KeyEventPost(KeyCode_SetClass(k));
            st.longSent = true;
        }
    } else {
        ++st.hold;
    }
    st.previous = k;
}

void* KeyThread(void*) {
    // The scanner's code file carries the unit's model name, which the menu/control thread's default
    // setting writes as that thread starts: the scanner starts once it runs (at most 5 s).
    for (int i = 0; i < kMenuStartWaits && !SysStatusTest(kSysMenuThreadRunning); ++i)
        plat::SleepMs(kMenuStartWaitMs);
    KeyThread_Init();
    for (;;) {
        KeyThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}
