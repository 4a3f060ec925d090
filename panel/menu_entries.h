#pragma once
// Entering menu states: a state with its parameter record or with a given value, the two home views and
// the way back to them, the MENU page, the calibration page and the parallel retry prompt. Every entry
// resets the keypad entry except the MENU key's, which keeps a number being typed.
#include <atomic>
#include <cstdint>

#include "core/params/param_rec.h"

// The home view entered last: kScreenAdvanced, kScreenSimple, or 0 before the first.
extern std::atomic<uint32_t> g_LastHomeView;

// Enters the state with the record of the same id (unit L1) in the edit copy. Returns menuResetEdit's
// result.
uint32_t menuEnterState(uint32_t state);
// Puts a record's value, limits and format into the edit copy (start and working value alike).
void menuLoadEditRecord(const ParamRec& rec);
// Enters the state with the given value as choice and edit value.
int32_t menuEnterStateValue(uint32_t state, int32_t value);
void menuGoAdvenceScreen();
void menuGoSimpleScreen();
// The DISPLAY key of the home views: from one view to the other.
void menuToggleHomeScreen();
// Back to the view last used (the advanced screen unless it was the simple one).
void menuReturnHome();
using MenuEntryFn = void (*)();
// The entry of the home view last used, or null before the first home entry.
void menuGetHomeEntry(MenuEntryFn* out);
void menuOpenMenuPage();
void menuGoCalibration();
// The parallel failure dialog (state 7), its focus on the second button.
void menuEnterParallelRetry();
// The waveform builder's editor (state 544) with the builder's type, only on a parallel master (position
// 1); otherwise nothing changes. Returns the parallel position.
int32_t menuEnterArbitraryMode();
