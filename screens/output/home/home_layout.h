#pragma once
// Which groups of the home page's windows are shown: the layout pass after a show, and the rules of the
// wiring, the display mode and the phasor. GUI thread only.
#include <cstdint>

// 0 nothing pending; 2 set by a show that found the body hidden; 1 the layout is due.
extern uint32_t g_HomeRedrawCountdown;

namespace home {

// The countdown's step at the start of a refresh: the normal screen once the countdown reaches 1 on a
// unit that owns its settings, else the slave screen, tried again on every refresh.
void LayoutPass();
// Settings panel by wiring (0 3P4W, 1 1P2W, 2 1P3W): six rows a page with the page indicator in the
// three-module wirings, all twelve with the lower frame in 1P2W; the vertical line follows the indicator
// when withVerticalBar.
void ApplyPhaseModeRule(uint32_t phaseMode, bool withVerticalBar);
// Set values (display mode 0) or total power (1); other modes change nothing.
void ApplyDisplayModeRule(uint32_t displayMode);
// The phasor only in the three-module wirings and the internal AC modes.
void ApplyPhasorRule(uint32_t phaseMode, uint32_t outputMode);

}  // namespace home
