#pragma once
// Read-back verification of the step registers. Each function reads its register at the current step and
// compares it with what the step writer encodes for the value the getters give; it returns 1 on a
// mismatch (adding 1 to the engine's error count and recording `step` as the last error step) and 0 on a
// match. Engine 1 SEQ, 2 SIM; floats are compared for exact equality.
#include <cstdint>

int SeqSimVerifyStatusReg(int32_t step, int engine);
int SeqSimVerifyPhaseReg(int32_t step, int phase, int engine);
int SeqSimVerifyDcv(int32_t step, int phase, int engine);
int SeqSimVerifyAcv(int32_t step, int phase, int engine);
int SeqSimVerifyFset(int32_t step, int phase, int engine);  // SIM: not compared for index 6
int SeqSimVerifyOnPhase(int32_t step, int phase, int engine);
int SeqSimVerifyOffPhase(int32_t step, int phase, int engine);
int SeqSimVerifyJumpto(int32_t step, int engine);
int SimVerifyJumpto(int32_t state);
int SeqVerifyJumpCnt(int32_t step);
int SimVerifyRepeat(int32_t state);    // register 788 of step 5
int SimVerifyEnRepeat(int32_t state);  // register 768 of step 5
int SeqVerifyBranch1(int32_t step);
int SeqVerifyBranch2(int32_t step);
int SeqSimVerifyTime(int32_t step, int engine);
int SeqSimVerifyErrReg(int32_t step, int engine);
int SeqSimVerifyBalance_L2(int32_t step, int engine);
int SeqSimVerifyBalance_L3(int32_t step, int engine);
int SeqVerifyDuty(int32_t step, int phase);

// Shows "SEQ Err.(%d, %d)" (last error step, count) when they are not both 0; SIM likewise.
void SeqReportErrors();
void SimReportErrors();

// The front panel's check of a single read-back (mismatch 1 reports and clears the counters), one per
// engine, handed over at start-up; an unset check does nothing. SeqSimCheck runs the check of the engine.
struct SeqSimCheckHooks {
    void (*seq)(int mismatch) = nullptr;
    void (*sim)(int mismatch) = nullptr;
};
void SeqSimSetCheckHooks(const SeqSimCheckHooks& hooks);
void SeqSimCheck(int engine, int mismatch);
