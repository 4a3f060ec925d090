#pragma once
// The front-panel keys: the code of every key as the panel controller, the USB keypad and the SHIFT
// translation hand it on, the class each key travels in, and the code a key held long becomes. The codes
// live this low because the panel controller's stand-in reports them too.
#include <cstdint>

// Key classes, byte 2 of an event: the key thread gives each code its class and the handlers take a key
// by class and code. Class 0 is a code with no class of its own.
inline constexpr uint8_t kClassKeypad = 1;    // digits, point, ENTER, EXIT
inline constexpr uint8_t kClassShortcut = 2;  // the keys that open a setting
inline constexpr uint8_t kClassSoft = 3;      // the soft keys beside the screen
inline constexpr uint8_t kClassCursor = 4;    // the arrows and the knob
inline constexpr uint8_t kClassFunction = 5;  // MENU, DISPLAY, PRESET, OUTPUT and the other function keys

// Key codes, byte 1 of an event. The keys of the panel are the characters '@' to '`'; a run of long
// presses is named by its first and last (and the members a page takes on its own), the codes between
// follow in order.
enum KeyCode : uint8_t {
    kKeyDigit0 = '@',  // the keypad's digits 0-9 are '@', 'A'-'I'
    kKeyDigit1 = 'A',
    kKeyDigit2 = 'B',
    kKeyDigit3 = 'C',
    kKeyDigit4 = 'D',
    kKeyDigit5 = 'E',
    kKeyDigit6 = 'F',
    kKeyDigit7 = 'G',
    kKeyDigit8 = 'H',
    kKeyDigit9 = 'I',
    kKeyPoint = 'J',  // after SHIFT the sign key
    kKeyLock = 'K',
    kKeyMenu = 'L',
    kKeySeq = 'M',
    kKeyPreset = 'N',
    kKeyVoltage = 'O',  // the four parameter shortcut keys
    kKeyFrequency = 'P',
    kKeyCurrent = 'Q',
    kKeyRange = 'R',
    kKeyShift = 'S',
    kKeyExit = 'T',
    kKeyEnter = 'U',
    kKeyLeft = 'V',  // the cursor keys
    kKeyRight = 'W',
    kKeyOutput = 'X',
    kKeySoft1 = 'Y',  // the soft keys from top to bottom
    kKeySoft2 = 'Z',
    kKeySoft3 = '[',
    kKeySoft4 = '\\',
    kKeySoft5 = ']',
    kKeySoft6 = '^',
    kKeySoft7 = '_',
    kKeySoft8 = '`',
    kKeyTilde = '~',  // a function key no page takes
    // SHIFT with a digit or a shortcut key becomes one of these, in the shortcut keys' class.
    kKeyVoltLimitKind = 228,
    kKeyFreqLimitKind = 229,
    kKeyIpkKind = 230,
    kKeyOnPhase = 232,
    kKeyMainMode = 233,
    kKeyWaveShape = 236,
    kKeyOffPhase = 237,
    kKeyOutputPhase = 238,
    kKeyKnobOther = 212,  // the controller's second knob code, taken as the knob
    kKeyKnob = 213,       // the turn is the event's delta
    // Long presses (see kLongPressRows).
    kKeyLongLock = 0xC1,
    kKeyLongSoft1 = 0xC2,  // to kKeyLongSoft8, in the soft keys' order
    kKeyLongSoft2 = 0xC3,
    kKeyLongSoft8 = 0xC9,
    kKeyLongDigit0 = 0xF0,  // to kKeyLongDigit9
    kKeyLongDigit9 = 0xF9,
    kKeyLongRange = 0xFA,
    kKeyLongPoint = 0xFD,
    kKeyLongMenu = 0xFE,  // a screen copy where it is allowed
};

// What a key held long is posted as: the keys first..last become long..long + (last - first). A key in
// no row keeps its code.
struct LongPressRow {
    uint8_t first, last, longFirst;
};
inline constexpr LongPressRow kLongPressRows[] = {
    {kKeyDigit0, kKeyDigit9, kKeyLongDigit0}, {kKeyPoint, kKeyPoint, kKeyLongPoint},
    {kKeyLock, kKeyLock, kKeyLongLock},       {kKeyMenu, kKeyMenu, kKeyLongMenu},
    {kKeyRange, kKeyRange, kKeyLongRange},    {kKeySoft1, kKeySoft8, kKeyLongSoft1},
};
