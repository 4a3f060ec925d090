#pragma once
// Preparing a SEQ or SIM run: the download of the program with its report, and the check of a single
// read-back after a panel or remote edit.

// SEQ, only at the download stage of the SEQUENCE screen: clears the mismatch words, puts the voltage range
// into the SIM options, sends the saved wiring, output kind and range, downloads and verifies the program,
// keeps the current step (0 from the entry or recall, or the one a client selected since) with the
// change-pending bit raised, switches the output on when the power-on entry asked
// for it, and strobes the apply when no mismatch was found. The report is the preparation step's.
void Seq_DownloadPrepared();
// The check of one read-back: a mismatch shows the error report and clears the counters; a match at
// step (SIM: state) 0 sends the apply strobe.
void Seq_StopOrReset(int mismatch);
