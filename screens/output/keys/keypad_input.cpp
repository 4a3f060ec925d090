#include "screens/output/keys/keypad_input.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"

namespace {
constexpr uint32_t kEntryDisabled = 1u << 0, kPointTyped = 1u << 1;
constexpr uint32_t kKeystroke = 1u << 10;  // the count of accepted keys lives in bits 10-31
constexpr uint8_t kMaxChars = sizeof g_EditBuf.entryText;

panel::EditBuf& E = g_EditBuf;

uint8_t Length() {
    return E.entryLength < kMaxChars ? E.entryLength : kMaxChars;
}

// A full text has no terminator in the entry, so the text is converted from a terminated copy.
void Convert() {
    char text[kMaxChars + 1] = {};
    std::memcpy(text, E.entryText, Length());
    E.entryValue = std::atof(text);
}

void Accepted() {
    E.entryState += kKeystroke;
    Convert();
}

void Append(char c) {
    E.entryText[E.entryLength++] = c;
}

void TypeDigit(uint8_t code) {
    if (Length() >= kMaxChars) return;
    Append(static_cast<char>('0' + (code - kKeyDigit0)));
    if (E.entryState & kPointTyped) E.entryScale *= 10.0f;
    Accepted();
}

void TypePoint() {
    if (E.entryState & kPointTyped) return;
    E.entryState |= kPointTyped;
    if (Length() == 0) Append('0');
    if (Length() < kMaxChars) Append('.');
    Accepted();
}

void FlipSign() {
    g_ParamFlags.fetch_and(~core::kFlagShiftLatched, std::memory_order_acq_rel);
    const uint8_t n = Length();
    if (n == 0) {
        Append('-');
    } else if (E.entryText[0] == '-' || E.entryText[0] == '+') {
        E.entryText[0] = E.entryText[0] == '-' ? '+' : '-';
    } else if (n < kMaxChars) {
        std::memmove(E.entryText + 1, E.entryText, n);
        E.entryText[0] = '-';
        ++E.entryLength;
    } else {
        return;
    }
    Accepted();
}
}  // namespace

void menuKeypadInput(uint32_t* ev) {
    const uint8_t cls = KeyEventClass(*ev);
    if (cls == kClassCursor) menuResetEdit();
    if (cls != kClassKeypad) return;
    if (E.entryState == 0) {
        E.enteredInt = 0;
        E.entryValue = 0.0;
        E.entryScale = 1.0f;
    }
    const uint8_t code = KeyEventCode(*ev);
    if (code == kKeyEnter) {
        Convert();
        E.enteredInt = static_cast<int32_t>(static_cast<float>(E.entryValue) * E.entryScale);
        return;
    }
    if (E.entryState & kEntryDisabled) return;
    if (code >= kKeyDigit0 && code <= kKeyDigit9)
        TypeDigit(code);
    else if (code == kKeyPoint && (g_ParamFlags.load(std::memory_order_acquire) & core::kFlagShiftLatched))
        FlipSign();
    else if (code == kKeyPoint)
        TypePoint();
}
