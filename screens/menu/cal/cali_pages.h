#pragma once
// Entries of the calibration pages: the item list (kMenuCalibration), the points of the voltage and current
// procedures and the default confirmation (kMenuCalDefaultConfirm). The panel keys, the remote calibration
// commands and the procedures (through the menu/control thread) enter them alike.
#include <cstdint>

// The item list with the selection it had when last left.
void Enter_menuCalibration();
// Makes a point state or the default confirmation current with the editor loaded from the point's record;
// kMenuCalVoltR100P0 and kMenuCalCurrP0 start their procedure. Another state does nothing.
void caliEnterStep(uint32_t state);
// The runner of a calibration page request (ScreenRequest::kCalibrationPage): with kCaliPageEnter the entry
// of state 316-329, with kCaliPageStateOnly only the menu state, the editor left as it is. Another state
// does nothing.
void CaliPage_Enter(uint32_t state, int32_t entry);
