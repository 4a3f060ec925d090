#pragma once
// What the periodic services do once the restart-pending bit is set: every setting to the non-volatile
// memory before the power stage (or the whole unit) starts again.

// Runs once per request (restart pending and not yet handled): saves, re-arms the GPIB reset line, marks
// the request handled and, with a reboot requested, unmounts USB memory and reboots.
void RestartSaveStep();
