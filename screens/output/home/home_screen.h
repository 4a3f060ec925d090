#pragma once
// The home (advanced output) page: its window tree, built once, and the page operations the page manager
// drives (GUI thread).
#include <cstdint>

#include "core/system/util/step_obj.h"
#include "panel/pages/page_mgr.h"

void HomeScreen_Create();
void HomeScreen_Enter();
void HomeScreen_Show();
void HomeScreen_Hide();
void HomeScreen_Update();
// One step of the home object (rows: 1 HomeScreen_Init, 2 HomeScreen_Refresh).
int32_t HomeScreen_Run();
extern StepObj g_HomeObj;
extern const PageDesc HomePageDesc;

namespace home {
// Everything back as at start: no windows, caches and queue empty, the object in state 1 (tests).
// Tests start each case from a clean state through it.
void ResetForTest();
}  // namespace home
