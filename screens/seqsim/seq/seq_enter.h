#pragma once
// Entering the SEQUENCE field states 333-432: the state becomes current, the keypad entry is cleared, the
// digit cursor goes to 0, the field's value of the current step is loaded as working and start value and
// the screen is asked to repaint the field values (the wave, duty and step-index editors raise the first
// request word, every other entry the second). A selection of ACV, DCV, Fset or duty also makes the value
// the phase's live value (the phase angles: the live L2/L3 angle); the ACV selection marks an ACV field
// selected, the sync-code and step-index selections clear that mark.
#include <cstdint>

#include "screens/seqsim/seq/seq_fields.h"

// Any state of 333-432 that is a field (379 and 380 are not: nothing happens).
void SeqEnterFieldState(uint32_t state);

// The entries by name; a triple's entry takes the phase 0-2 (L1-L3).
inline void Enter_menuSeqSetStepIndex() {
    SeqEnterFieldState(kMenuSeqSetStepIndex);
}
inline void Enter_menuSeqSetTimeStep() {
    SeqEnterFieldState(kMenuSeqSetTimeStep);
}
inline void Enter_menuSeqEditTimeStep() {
    SeqEnterFieldState(kMenuSeqEditTimeStep);
}
inline void Enter_menuSeqSetStepterm() {
    SeqEnterFieldState(kMenuSeqSetStepterm);
}
inline void Enter_menuSeqEditStepterm() {
    SeqEnterFieldState(kMenuSeqEditStepterm);
}
inline void Enter_menuSeqSetJumpto() {
    SeqEnterFieldState(kMenuSeqSetJumpto);
}
inline void Enter_menuSeqEditJumpto() {
    SeqEnterFieldState(kMenuSeqEditJumpto);
}
inline void Enter_menuSeqEnJumpto() {
    SeqEnterFieldState(kMenuSeqEnJumpto);
}
inline void Enter_menuSeqEditEnJumpto() {
    SeqEnterFieldState(kMenuSeqEditEnJumpto);
}
inline void Enter_menuSeqSetJumpCnt() {
    SeqEnterFieldState(kMenuSeqSetJumpCnt);
}
inline void Enter_menuSeqEditJumpCnt() {
    SeqEnterFieldState(kMenuSeqEditJumpCnt);
}
inline void Enter_menuSeqSetSyncCode() {
    SeqEnterFieldState(kMenuSeqSetSyncCode);
}
inline void Enter_menuSeqEditSyncCode() {
    SeqEnterFieldState(kMenuSeqEditSyncCode);
}
inline void Enter_menuSeqSetBranch1() {
    SeqEnterFieldState(kMenuSeqSetBranch1);
}
inline void Enter_menuSeqEditBranch1() {
    SeqEnterFieldState(kMenuSeqEditBranch1);
}
inline void Enter_menuSeqEnBranch1() {
    SeqEnterFieldState(kMenuSeqEnBranch1);
}
inline void Enter_menuSeqSetBranch2() {
    SeqEnterFieldState(kMenuSeqSetBranch2);
}
inline void Enter_menuSeqEnBranch2() {
    SeqEnterFieldState(kMenuSeqEnBranch2);
}
inline void Enter_menuSeqBalance_L2() {
    SeqEnterFieldState(kMenuSeqBalanceL2);
}
inline void Enter_menuSeqEditBalance_L2() {
    SeqEnterFieldState(kMenuSeqEditBalanceL2);
}
inline void Enter_menuSeqBalance_L3() {
    SeqEnterFieldState(kMenuSeqBalanceL3);
}
inline void Enter_menuSeqSetOnPhase(int phase) {
    SeqEnterFieldState(kMenuSeqSetOnPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditOnPhase(int phase) {
    SeqEnterFieldState(kMenuSeqEditOnPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEnOnPhase(int phase) {
    SeqEnterFieldState(kMenuSeqEnOnPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetOffPhase(int phase) {
    SeqEnterFieldState(kMenuSeqSetOffPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditOffPhase(int phase) {
    SeqEnterFieldState(kMenuSeqEditOffPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEnOffPhase(int phase) {
    SeqEnterFieldState(kMenuSeqEnOffPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditEnOffPhase(int phase) {
    SeqEnterFieldState(kMenuSeqEditEnOffPhase + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetFset(int phase) {
    SeqEnterFieldState(kMenuSeqSetFset + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditFset(int phase) {
    SeqEnterFieldState(kMenuSeqEditFset + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetFsetType(int phase) {
    SeqEnterFieldState(kMenuSeqSetFsetType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditFsetType(int phase) {
    SeqEnterFieldState(kMenuSeqEditFsetType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetACV(int phase) {
    SeqEnterFieldState(kMenuSeqSetACV + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditACV(int phase) {
    SeqEnterFieldState(kMenuSeqEditACV + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetACVType(int phase) {
    SeqEnterFieldState(kMenuSeqSetACVType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditACVType(int phase) {
    SeqEnterFieldState(kMenuSeqEditACVType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetDCV(int phase) {
    SeqEnterFieldState(kMenuSeqSetDCV + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditDCV(int phase) {
    SeqEnterFieldState(kMenuSeqEditDCV + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetDCVType(int phase) {
    SeqEnterFieldState(kMenuSeqSetDCVType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditDCVType(int phase) {
    SeqEnterFieldState(kMenuSeqEditDCVType + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetWave(int phase) {
    SeqEnterFieldState(kMenuSeqSetWave + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditWave(int phase) {
    SeqEnterFieldState(kMenuSeqEditWave + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqSetDuty(int phase) {
    SeqEnterFieldState(kMenuSeqSetDuty + static_cast<uint32_t>(phase));
}
inline void Enter_menuSeqEditDuty(int phase) {
    SeqEnterFieldState(kMenuSeqEditDuty + static_cast<uint32_t>(phase));
}
