#pragma once
// The calibration's data exits and one-shot calibrations: the calibration pages, the remote calibration
// commands and a parallel slave's calibration save run them alike, whatever page the panel shows. They
// block the calling thread (the menu/control thread) while the stage works: up to about 10 s.
#include <cstdint>

// Back to the advanced output screen, once the reset an exit asked for has run (at most 0.5 s).
void caliGoHome();
// The stage saves (4), recalls (2) or restores the default (1) calibration data. Once it reports the
// data done, the calibration mode is ended, the exit's message shown and the panel sent home; a save
// with an exit flag other than 1 stays where it is, silently.
void caliSaveExit(int32_t exitFlag);
void caliRecallExit();
void caliDefaultExit();
// The external offset (6), capacitance (7) or zero rms (8) calibration, started by the caller's mode and
// start words: waits for the stage's result and shows it. Another kind does nothing.
void caliExtOffset(int32_t kind);
