#pragma once
// Menu-state entries that the core starts through its hooks: the advanced output screen, a state with an
// edit value, the parallel retry prompt. Until the menu state machine exists they set g_MenuState and the
// edit value.
#include <cstdint>

void menuGoAdvenceScreen();
void menuEnterStateValue(uint32_t state, int32_t value);
void menuEnterParallelRetry();
