#pragma once
// What the periodic services do once the restart-pending bit is set: every setting to the non-volatile
// memory before the power stage (or the whole unit) starts again. A stop of the host program is the
// unit's power-off and gets the same save.

// Runs once per request (restart pending and not yet handled): saves, re-arms the GPIB reset line, marks
// the request handled and, with a reboot requested, unmounts USB memory, waits 1 s, sets the panel
// controller's application line to 0 and reboots (the host's program starts again). A stop's request is
// saved on the next run (once), whatever the restart bits say.
void RestartSaveStep();

// True once the save before the process ends (a stop's, a reboot's) has run on the menu thread: from then
// on that thread runs no further set command, whose setting the save would not keep.
bool SetCommandsClosed();

// The stop's save, asked by the thread that ends the process and run by the menu thread, which owns
// every setting it writes. StopSaveDone is true once that save has run.
void StopSaveRequest();
bool StopSaveDone();

namespace panel {
// Forgets a stop's request and save (tests).
// Tests start each case from a clean state through it.
void StopSaveReset();
}  // namespace panel
