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
    if (code >= 64 && code <= 73) return static_cast<uint8_t>(0xF0 + (code - 64));
    if (code >= 89 && code <= 96) return static_cast<uint8_t>(0xC2 + (code - 89));
    switch (code) {
        case 74:
            return 0xFD;
        case 75:
            return 0xC1;
        case 76:
            return 0xFE;
        case 82:
            return 0xFA;
        default:
            return code;
    }
}

uint32_t ScanCodeKeyEvent(uint8_t usage) {
    if (usage == 98) return KeyEventPack(0, 64, 0);
    if (usage >= 89 && usage <= 97) return KeyEventPack(0, static_cast<uint8_t>(65 + (usage - 89)), 0);
    switch (usage) {
        case 99:
            return KeyEventPack(0, 74, 0);
        case 88:
        case 40:
            return KeyEventPack(0, 85, 0);
        case 42:
            return KeyEventPack(0, 88, 0);
        case 43:
            return KeyEventPack(0, 87, 0);
        case 84:
            return KeyEventPack(0, 79, 0);
        case 85:
            return KeyEventPack(0, 80, 0);
        case 87:
            return KeyEventPack(1, 213, 0);
        case 86:
            return KeyEventPack(-1, 213, 0);
        default:
            return 0;
    }
}

}  // namespace core

namespace {

uint8_t ClassOf(uint8_t code, uint8_t keep) {
    if ((code >= 64 && code <= 74) || code == 84 || code == 85) return kClassKeypad;
    if ((code >= 79 && code <= 82) || code == 232 || code == 237) return kClassShortcut;
    if ((code >= 89 && code <= 96) || (code >= 194 && code <= 201)) return kClassSoft;
    if (code == 86 || code == 87 || code == 213) return kClassCursor;
    if ((code >= 75 && code <= 78) || code == 83 || code == 88 || code == 126 ||
        (code >= 240 && code <= 250) || code == 253 || code == 254)
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
    if (Hardcopy_IsPending() && !(OutputFlagTest(kOutFlagOutputOn) && KeyEventCode(word) == 'X')) return true;
    return false;
}

}  // namespace

uint32_t KeyCode_SetClass(uint32_t event) {
    uint8_t code = KeyEventCode(event);
    if (code == 212) code = 213;
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
