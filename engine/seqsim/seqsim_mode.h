#pragma once
// The SEQ/SIM mode word and the run block's engine-wide words as the panel and the remote handlers read
// them. The SEQ/SIM active bit itself is g_OutputFlags' (SeqSimIsActive, core/system/state/output_flags.h).
#include <cstdint>

#include "engine/seqsim/seqsim_mode_word.h"

uint32_t SeqSimGetMode();
int SeqIsActiveMode();  // kSeqSimSeq
int SimIsActiveMode();  // kSeqSimSim
// On every SEQ/SIM mode change: an output kind (0-2) other than the saved one is saved and marks the
// kind-changed flag (the next SEQ download sends the wiring's default angles); the SEQ and SIM saved range
// (100V or 200V) and ACV unit follow the current ones.
void SeqSimSyncSavedConfig();
// First SeqSimSyncSavedConfig; SEQ only in the output modes 0-2, SIM only in output mode 0, off
// always; any other value gives -1. Returns the mode word after the call (unchanged when refused).
int32_t SeqSimSetMode(uint32_t mode);

uint32_t SeqSimGetEngineKind();
int SeqSimIsRunning();
int SeqSimIsPaused();
int SeqSimRunStateIsStop();  // 1 in the ready state
// Tests read whether a remote write marked the program changed through it.
int SeqSimIsDirty();
void SeqSimSetDirty();
void SeqSimClearDirty();
// The SEQ or SIM slot by engine kind (0 for another kind); the setters return the engine kind.
uint32_t SeqSimGetSaveSlot();
uint32_t SeqSimGetRecallSlot();
uint32_t SeqSimSetSaveSlot(uint32_t slot);
uint32_t SeqSimSetRecallSlot(uint32_t slot);
uint32_t SeqSimGetRunHours();
uint32_t SeqSimGetRunMinutes();
uint32_t SeqSimGetRunSeconds();
uint32_t SeqSimGetCurStep();  // without the step base
// True while SEQUENCE or SIMULATE is active and its preparation (the runner's, and the download the entry
// or a recall asked for) has not ended: the instrument is busy for *OPC? and *WAI.
bool SeqSimPreparationPending();

// Run state stop: the runner switches the output off and resets.
void SeqSimRequestStop();
// Current step 0, engine kind, run state prepare.
void SeqSimResetEngine(uint32_t kind);
// Points the table pointers of all four slices at the tables of the current range (the 200V tables when
// the range is not 100V) and the SIM pointers at the range's set.
void SeqSimSelectTables();
