#pragma once
// Download of whole SEQ and SIM programs into the power stage's step memory, each value read back and
// compared (seqsim_verify.h). Mismatches count into g_SeqSimErrors; nothing is retried.

// All 1000 SEQ steps; stops after the first step with a mismatch. With the kind-changed flag set, every
// step's L2/L3 angles become the defaults of the wiring saved with the SEQ data first; the flag is then
// cleared.
void SeqDownloadAll();
// The seven SIM step slots (states 0-5 and the terminating index 6), then each slot's copy verified.
void SimDownloadAll();
