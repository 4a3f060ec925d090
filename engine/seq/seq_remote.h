#pragma once
// Remote writes of one SEQ step: all per-phase values, or all step-global values, in one call, each value
// through its field setter. Every value is first checked by its setter's rule, in the order of the writes,
// and a refusal writes nothing: the first refused value gives its code: -101 ACV (phase setter) or time
// (common setter), -102 ON phase, -103 DCV, -104 OFF phase, -105 Fset, -107 Jump To, -108 duty, -109 Jump
// Cnt, -111 Branch 1, -113 Branch 2, -1 L2/L3 angle; 0 when all were taken.
//
// The phase is the one selected for remote SEQ editing (L1 in 1P3W, where L2 takes the same values, its
// DCV negated). While a run is in progress they act only with the remote step-0 permission and then on
// step 0; without it they return 0 and change nothing.
#include <cstdint>

int32_t SeqSetStepPhaseParams(int32_t acv, int32_t acvType, int32_t dcv, int32_t dcvType, int32_t fset,
                              int32_t fsetType, int32_t wave, int32_t duty, int32_t phaseAngle);
int32_t SeqSetStepCommonParams(int32_t time, int32_t onPhase, int32_t enOnPhase, int32_t offPhase,
                               int32_t enOffPhase, int32_t term, int32_t jumpto, int32_t enJumpto,
                               int32_t jumpCnt, int32_t syncCode, int32_t branch1, int32_t enBranch1,
                               int32_t branch2, int32_t enBranch2);
