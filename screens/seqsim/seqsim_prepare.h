#pragma once
// Preparing a SEQ or SIM run: the download of the program with its report, and the check of a single
// read-back after a panel or remote edit.

// Clears the error counters, puts the voltage range into the SIM options, sends the saved wiring (SEQ: and
// output kind) and range, downloads and verifies the program and reports "SEQ Err.(%d, %d)", the data-
// invalid messages or "Sequence is ready." (SIM: "Simulation is ready."); the counters and indicators are
// cleared after the report. A SEQ program without mismatches (SIM: any) gets the apply strobe.
void Seq_DownloadPrepared();
// The check of one read-back: a mismatch shows the error report and clears the counters; a match at
// step (SIM: state) 0 sends the apply strobe.
void Seq_StopOrReset(int mismatch);
