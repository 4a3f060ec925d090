#pragma once
// The GUI thread: waits for the system-ready bit, starts the graphics library and then runs a pass every
// 2 ms: the page manager on every fourth pass, the window manager on every pass; changed display
// adjustments are applied 50 passes after they are seen. While a screen copy is pending it draws nothing.
#include <cstdint>

void* GuiThread(void* arg);
// One pass without its sleep.
void GuiThread_Pass();
// What applies the three display-adjustment bytes (contrast, brightness, saturation, low byte first): the
// display's own SetLcdAdjustAll unless a test puts its recorder here (null puts the display back).
// Tests watch the display settings applied through it.
void GuiThread_SetLcdApply(void (*apply)(uint32_t bytes));

extern uint32_t g_LcdApplied;         // the adjustment word last taken over
extern int32_t g_LcdApplyCountdown;  // passes left before it is applied
