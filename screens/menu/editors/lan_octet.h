#pragma once
// The LAN address editors' octet: what a typed number makes of it, and the edit state of the address.
#include <cstdint>

struct OctetEdit {
    uint32_t changed;  // 1 once an octet of the address being edited took a new value not yet applied
    uint32_t digit;    // the cursor's digit within its octet: 0 units, 1 tens, 2 hundreds
};
extern OctetEdit g_OctetEdit;

// The enter or point key (code) with a number typed: a whole number 0..255 goes into *octet and marks the
// address changed (1); a number outside, a signed number, or the point typed as the entry's first key
// ("0." alone) leaves it (0).
int NumInputToOctet(uint8_t code, uint8_t* octet);
// After a digit was typed into an octet: a number of 256 or more is replaced by 255.
void OctetEntryLimit();
