#pragma once
// The rules a front-panel key passes before the handler of the menu state sees it: the OUTPUT key
// always switches off, the key lock, the PRESET key and the SHIFT translation. Each takes the packed
// event (drivers/panel_link.h) and clears it (0) when it consumes it. Menu/control thread only.
#include <atomic>
#include <cstdint>

// 0 when the OUTPUT key switched the output off (stopping a SEQ/SIM run with it) and the event was
// consumed; -1 with the event untouched otherwise.
int KeyOutputOffFilter(uint32_t* ev);
// Locks, unlocks and drops keys while locked. Always -1.
int KeyLockFilter(uint32_t* ev);
// The PRESET key: toggles preset mode where it may, else says why not. Always -1.
int KeyPresetToggle(uint32_t* ev);
// SHIFT latches; the key after it is translated (or carried out and consumed). Always -1.
int KeyShiftTranslate(uint32_t* ev);

// 1 after SHIFT then DEF1 ('Y'), for the soft-key handlers; cleared by the run-time re-initialisation.
extern std::atomic<uint32_t> g_ShiftedYWord;

// The one-shot arming check of the factory-default key (SHIFT then ']'), which the timer thread above
// the panel keeps: nonzero once, within the start-up window. Unset, the key does nothing.
void KeyFilters_SetFactoryArmCheck(int32_t (*check)());

