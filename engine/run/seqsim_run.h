#pragma once
// SEQ/SIM run control: the operations of the panel keys, SCPI and the remote objects (menu/control
// thread), and the run-state machine the runner thread steps every 2 ms. They share the run block without
// a lock: the operations set flags, the run state and the current step; the runner reads them next tick.
#include <cstdint>

// Refused with a message while the output is on or in the AUTO range (the message's result); a mode other
// than 1 SEQ or 2 SIM gives -1. Otherwise the mode is set, screen-option bits 1-2 cleared and the front
// panel's SEQ entry (mode word 1) or SIM entry asked for as a screen request (run before the return on the
// menu/control thread); 0.
int32_t SeqSimEnterMode(uint32_t mode);

// RUN when idle (refused with -1 and a message while the output is off or while the table in use fails
// validation), STOP when running; 0.
int32_t SeqSimRunStopToggle();
// 1: Branch 1 pending and command 8; 2: Branch 2 pending and command 16; the command's result, n else.
int32_t SeqSimTriggerBranch(int32_t n);
// HOLD or resume of a running program; the run-step pointer follows the current step. The output mode.
uint32_t SeqSimTogglePause();
// Words 3, 1, 2 and 4 of the L1 record of the step being run (0 without one).
// Tests read the step being run through these.
int32_t SeqRunGetFset();
int32_t SeqRunGetAcv();
int32_t SeqRunGetDcv();
int32_t SeqRunGetWave();
void SeqSimSetPanelState(uint32_t value);

// One tick of the run-state machine under g_SeqSimTableLock: 0, -1 when neither SEQ nor SIM mode is set
// (run state prepare), -2 when the lock stayed taken for kSeqSimRunnerTableWaitMs (nothing done).
int32_t SeqSimRunControl();
void SeqSimRunPoll();
void SeqSimRunPause();
void SeqSimUpdateElapsed();
