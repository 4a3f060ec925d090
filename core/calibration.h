#pragma once
// The calibration-mode object, stepped every 4 ms by the timer thread.
void CaliMode_Step();
