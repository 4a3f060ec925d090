#pragma once
// The key handlers of the calibration states: the item list (316), the point states (317-328) and the
// default confirmation (329). They run on the menu/control thread.
#include <cstdint>

void menuCalibration(uint32_t* ev);
// A point state's keys; kind 0 the voltage points, 1 the current points.
void caliStepKey(uint32_t kind, uint32_t* ev);
void caliDefaultKey(uint32_t* ev);

// The point states' handlers: 317-322 the voltage points, 323-328 the current points.
void menuCalDcVR100P0(uint32_t* ev);
void menuCalDcVR100P1(uint32_t* ev);
void menuCalDcVR100P2(uint32_t* ev);
void menuCalDcVR200P0(uint32_t* ev);
void menuCalDcVR200P1(uint32_t* ev);
void menuCalDcVR200P2(uint32_t* ev);
void menuCaliCurrP0(uint32_t* ev);
void menuCaliCurrP1(uint32_t* ev);
void menuCaliCurrP2(uint32_t* ev);
void menuCaliCurrP3(uint32_t* ev);
void menuCaliCurrP4(uint32_t* ev);
void menuCaliCurrP5(uint32_t* ev);
// State 329, the default confirmation.
void menuCalDefaultEnter(uint32_t* ev);

// Hands the handlers of 316-329 to the key table; 0, or -1 when the table refused them.
int CaliKeys_Register();
