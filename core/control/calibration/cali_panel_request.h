#pragma once
// The calibration procedures run on the timer thread, but the panel's state and edit words belong to the
// menu/control thread: a procedure only asks for the panel state it moves to, and that thread enters it
// at its next pass. One request is held; a newer one replaces it.
#include <cstdint>

// kMenuCalibration: back to the item list (Enter_menuCalibration); a point state or kMenuCalDefaultConfirm:
// the entry of that state (caliEnterStep).
void CaliPanel_Request(uint32_t state);
// Only the menu state (a calibration state) is set, the editor left as it is.
void CaliPanel_RequestState(uint32_t state);
// Menu/control thread: runs the entry of the request held, if any, and drops it; true when one ran.
bool CaliPanel_TakeRequest();
