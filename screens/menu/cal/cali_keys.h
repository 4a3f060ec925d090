#pragma once
// The key handlers of the calibration states (core/system/state/menu_state_ids.h): the item list, the point
// states and the default confirmation. They run on the menu/control thread.
#include <cstdint>

void menuCalibration(uint32_t* ev);
// A point state's keys; kind 0 the voltage points, 1 the current points.
void caliStepKey(uint32_t kind, uint32_t* ev);
void caliDefaultKey(uint32_t* ev);

// The point states' handlers: kMenuCalVoltR100P0-kMenuCalVoltR200P2 the voltage points, kMenuCalCurrP0-
// kMenuCalCurrP5 the current points.
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
// kMenuCalDefaultConfirm, the default confirmation.
void menuCalDefaultEnter(uint32_t* ev);

// Hands the handlers of the calibration states to the key table; 0, or -1 when the table refused them.
int CaliKeys_Register();
