#pragma once
// Key handlers of the SEQUENCE editors of the step's time, phase angles and their enables, termination,
// Jump To, jump count, branches and sync code (the common editor pattern, one row each).
#include <cstdint>

void menuSeqEditTimeStep(uint32_t* ev);
void menuSeqEditOnPhase(uint32_t* ev);
void menuSeqEditOnPhase_L2(uint32_t* ev);
void menuSeqEditOnPhase_L3(uint32_t* ev);
void menuSeqEditEnOnPhase(uint32_t* ev);
void menuSeqEditEnOnPhase_L2(uint32_t* ev);
void menuSeqEditEnOnPhase_L3(uint32_t* ev);
void menuSeqEditOffPhase(uint32_t* ev);
void menuSeqEditOffPhase_L2(uint32_t* ev);
void menuSeqEditOffPhase_L3(uint32_t* ev);
void menuSeqEditEnOffPhase(uint32_t* ev);
void menuSeqEditEnOffPhase_L2(uint32_t* ev);
void menuSeqEditEnOffPhase_L3(uint32_t* ev);
void menuSeqEditStepterm(uint32_t* ev);
void menuSeqEditJumpto(uint32_t* ev);
void menuSeqEditEnJumpto(uint32_t* ev);
void menuSeqEditJumpCnt(uint32_t* ev);
void menuSeqEditSyncCode(uint32_t* ev);
void menuSeqEditBranch1(uint32_t* ev);
void menuSeqEditEnBranch1(uint32_t* ev);
void menuSeqEditBranch2(uint32_t* ev);
void menuSeqEditEnBranch2(uint32_t* ev);
void menuSeqEditBalance_L2(uint32_t* ev);
void menuSeqEditBalance_L3(uint32_t* ev);
