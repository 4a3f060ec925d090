#pragma once
// The choices of the wiring dialogs, written by their key handlers and read by their painters: the wiring
// picked in the configure-phase dialog and the one a change goes to (0 3P4W, 1 1P2W, 2 1P3W), and the
// confirmation's button (0 ENTER, 1 CANCEL).
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_CfgPhaseChoice;
extern std::atomic<uint32_t> g_CfgPhaseTarget;
extern std::atomic<uint32_t> g_DialogChoice;
// 1 when the wiring confirmation was opened from the wiring choice of the home view (its NO goes back
// there), 0 when from the MENU's output-phase row.
extern std::atomic<uint32_t> g_PhaseChangeFromHome;
