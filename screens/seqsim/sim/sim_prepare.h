#pragma once
// The SIMULATE preparation: the download of the six states into the power stage after every entry of the
// SIMULATE screen and every recall, its report, and the check after a single field write.

// Every pass of the menu/control thread: with a preparation asked for (SimPrepRequest), holds the popup
// "Simulation preparation...", downloads, closes the popup, clears the request and reports the result:
// "SIM Err.(%d, %d)" (state, count), "Simulation is ready." or a data-out-of-range message.
void Sim_PreparationStep();
// The download: the saved wiring and range to the power stage, every state of every phase written and read
// back, the change-pending bit raised until the state index is back on Initial, the output switched on
// when the power-on entry asked for it, and the apply strobe. A request withdrawn during the download (the
// page was hidden) ends it with the change-pending bit lowered and the state index left as it is.
void Sim_DownloadPrepared();
// After a field editor wrote a field: a read-back mismatch (non-zero) shows the error report and clears
// the counters; a match in Initial sends the apply strobe.
void Sim_AfterFieldWrite(int mismatch);
