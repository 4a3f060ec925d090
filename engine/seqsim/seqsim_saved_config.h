#pragma once
// The output configuration saved with the SEQ and SIM data, and the tests that depend on it.
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

// Whether the ACV of the current step (SIM: state) of the phase is held in Vpp. SEQ: the ACV unit setting
// is Vpp and the waveform is not SIN or SQU (in 1P3W L2 follows L1). SIM: the SIM saved unit is Vpp and the
// state's waveform is 1-16, 19 or 20-256.
int SeqSimAcvIsVpp(int phase);
// The saved configurations at their defaults: SEQ factors of ARB1-ARB8 from SIN, ARB9-ARB12 from SQU and
// ARB13-ARB16 from TRI (x 1000, rounded) in every slice, wiring, kind, range and unit 0; SIM all 0.
void SeqInitSavedConfig();
// The SEQ saved configuration SeqInitSavedConfig gives every slice.
SeqSavedConfig SeqDefaultSavedConfig();
void SimInitSavedConfig();
// Before a save from the panel: every slice's ARB1-ARB16 factors (x 1000, rounded), and the current
// wiring, output mode, range and ACV unit (SIM: wiring, range, unit). The caller holds g_SeqSimSavedLock
// (seqsim_data.h) across the capture and the save that follows it.
void SeqCaptureConfig();
void SimCaptureConfig();
// After a recall, for the engine kind in use: each saved value that differs from the current one is set
// (wiring, SEQ output mode, range, ACV unit) and raises its redraw bit in g_SeqSimScreen.
void SeqSimRestoreOutputConfig();
// Whether an explicit step's (SIM: state's) L1 ACV is held in Vpp: the saved unit is Vpp and the waveform
// is ARB1-ARB16 or TRI.
int SeqSimStepAcvIsVpp(int32_t step);
