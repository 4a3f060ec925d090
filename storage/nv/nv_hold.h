#pragma once
// Holds on stored data whose load failed: block 0, the settings blocks 1-6 and the configuration text.
// The defaults a failed load leaves in force are not saved over the stored bytes (a flipped byte must not
// cost the unit its identity or its LAN set-up for good): the first save after the load finds the
// contents the start made of the defaults and keeps them as the hold's base, writing nothing; a later
// save whose contents differ from that base carries a change made since (by a user or the service
// menu), is written and ends the hold. Callers hold the block store's lock (NvBlockLock).
#include <cstdint>
#include <string_view>

// Slots 0-6 are the block kinds; the configuration text has its own.
inline constexpr int kNvHoldConfigText = 7;

// After a load: held when it failed on bytes that were stored (read refused, or not sound and not blank).
void NvHoldSet(int slot, bool held);
// True when a save of these contents must write nothing (see above). Contents are what the save would
// write, less anything that is not a setting.
bool NvHoldBack(int slot, std::string_view contents);
// True while the slot is held.
bool NvHoldIsHeld(int slot);
// Ends the hold: the next save writes (contents set on purpose, like a factory identity).
void NvHoldRelease(int slot);
// Ends every hold (tests, a fresh start).
// Tests start each case from a clean state through it.
void NvHoldResetAll();

// A memory area that was never written (all 0xFF, as the chip leaves the factory) holds nothing a save
// could destroy. All 0x00 is no such area: the chip never comes so, a unit's writes or a fault made it.
bool NvAreaBlank(const uint8_t* bytes, uint32_t length);
