#pragma once
// Entries of the calibration pages: the calibration menu (316) and the points of the voltage (317-322)
// and current (323-328) procedures. Until the pages are drawn they set g_MenuState; entering the first
// point of a procedure starts it.
#include <cstdint>

void Enter_menuCalibration();
void caliEnterStep(uint32_t state);
