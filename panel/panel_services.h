#pragma once
// Front-panel services that the core uses: popups, the run-time re-initialisation and the words the
// timer and key threads share with the panel.
#include <atomic>
#include <cstdint>

#include "core/system/messaging/msg_ring.h"

// The 40 ms up-counter (raised by the timer thread while below 65,530; read and reset by the panel and
// the SCPI side).
extern std::atomic<uint32_t> g_Up40ms;

void InitRuntimeState();
// The same for a reset run off the menu/control thread (the supervisor loop's reset, the calibration's end
// on the timer thread): the panel's edit words and menu state belong to the menu/control thread, so their
// return to the advance screen is asked of it and done at its next pass.
void InitRuntimeStateForReset();
void ParallelConfigUnits();
