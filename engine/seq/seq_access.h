#pragma once
// Field access of the SEQUENCE steps: getters without side effects. Per-phase getters take the phase
// (0 L1, 1 L2, 2 L3) and read 0 for another phase; a field the current output kind lacks reads 0.
#include <cstdint>

// The effective SEQ step (current step + step base): the step copy of the power stage's step registers
// (768-803) that every step transfer addresses. The start-up hands it to the register bus.
int32_t SeqGetAbsStep();
int32_t SeqGetCurStep();  // without the step base

int32_t SeqGetAcv(int phase);  // the Vpp word when the step's ACV is held in Vpp
int32_t SeqGetAcvMode(int phase);
int32_t SeqGetDcv(int phase);
int32_t SeqGetDcvMode(int phase);
int32_t SeqGetFset(int phase);
int32_t SeqGetFsetMode(int phase);
int32_t SeqGetWave(int phase);
int32_t SeqGetDuty(int phase);
int32_t SeqGetOnPhase(int phase);
int32_t SeqGetEnOnPhase(int phase);
int32_t SeqGetOffPhase(int phase);
int32_t SeqGetEnOffPhase(int phase);
int32_t SeqGetTime();
int32_t SeqGetJumpto();
int32_t SeqGetEnJumpto();
int32_t SeqGetJumpCnt();
int32_t SeqGetBranch1();
int32_t SeqGetEnBranch1();
int32_t SeqGetBranch2();
int32_t SeqGetEnBranch2();
int32_t SeqGetTerm();
int32_t SeqGetSyncCode();
int32_t SeqGetBalance_L2();  // 0 in 1P2W and in the DC kind; AC+DC in 1P3W reads 1800
int32_t SeqGetBalance_L3();  // 0 in 1P2W and in the DC kind
int32_t SeqGetTriggerOut();  // always 0

// Reads of an explicit step (0-999; another step reads 0).
int32_t SeqGetAcvAt(int32_t step, int phase);
int32_t SeqGetAcvModeAt(int32_t step, int phase);
int32_t SeqGetDcvAt(int32_t step, int phase);
int32_t SeqGetDcvModeAt(int32_t step, int phase);
int32_t SeqGetEnJumptoAt(int32_t step);
int32_t SeqGetJumptoAt(int32_t step);
int32_t SeqGetTermAt(int32_t step);
