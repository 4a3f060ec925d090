#include "storage/nv/nv_hold.h"

#include <string>

namespace {

constexpr int kSlots = 8;

struct Hold {
    bool held = false;
    bool based = false;
    std::string base;
};
Hold g_holds[kSlots];

bool ValidSlot(int slot) {
    return slot >= 0 && slot < kSlots;
}

}  // namespace

void NvHoldSet(int slot, bool held) {
    if (!ValidSlot(slot)) return;
    g_holds[slot] = Hold{};
    g_holds[slot].held = held;
}

bool NvHoldBack(int slot, std::string_view contents) {
    if (!ValidSlot(slot)) return false;
    Hold& h = g_holds[slot];
    if (!h.held) return false;
    if (!h.based) {
        h.base.assign(contents);
        h.based = true;
        return true;
    }
    if (contents == h.base) return true;
    h = Hold{};
    return false;
}

bool NvHoldIsHeld(int slot) {
    return ValidSlot(slot) && g_holds[slot].held;
}

void NvHoldRelease(int slot) {
    if (ValidSlot(slot)) g_holds[slot] = Hold{};
}

void NvHoldResetAll() {
    for (Hold& h : g_holds)
        h = Hold{};
}

bool NvAreaBlank(const uint8_t* bytes, uint32_t length) {
    for (uint32_t i = 1; i < length; ++i)
        if (bytes[i] != bytes[0]) return false;
    return length == 0 || bytes[0] == 0xFF;
}
