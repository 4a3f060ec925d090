#pragma once
// What the output has yet to take up after a remote command, beside the system's busy test: the
// operations *OPC?, *OPC and *WAI wait for.
//
// - Each set command run on the menu/control thread that may change what the stage plays takes a ticket,
//   one more than the last. The control task publishes how far it has taken the changes up: every
//   change whose ticket is at or below that count is played (or superseded by a later one), with whatever
//   the task rewrote in answer to it. A channel waits for its own last ticket, not for the unit to fall
//   idle: another client's later changes do not hold it back.
// - A synchronised output (ACDC-SYNC, AC-SYNC) that has just been given its signal (the mode entered, the
//   signal selection changed) waits for the frequency meter's first reading of it, at most
//   kSyncReadingWaitMs: until then an output-on would be refused for a missing signal that is there.
#include <atomic>
#include <cstdint>

namespace core {

// Counts the control task's passes that found nothing left to take up (a settled output with every
// setting synchronised, no waveform download under way, or a SEQ/SIM function in use, whose runner owns
// the output); counted at the end of the pass.
extern std::atomic<uint32_t> g_CtrlQuietPasses;

// The longest the first reading of a newly chosen synchronisation signal is waited for. The meter takes
// a few periods of its lowest frequency (10 Hz); a signal that is not there is not waited for longer.
inline constexpr uint64_t kSyncReadingWaitMs = 1000;

// A set command that may change what the stage plays has run on the menu/control thread (the thread that
// also runs the control task): its ticket.
uint64_t NoteSettingsChange();
// The last ticket given.
uint64_t SettingsChangesIssued();
// True once the change of the ticket has been taken up (0: none was made); always in calibration mode,
// where the task does not run.
bool SettingsChangeTaken(uint64_t ticket);

// The control task's parts that compare the store with what the stage plays, at most this many; each
// reports on every pass whether it found everything taken up.
inline constexpr unsigned kOutputParts = 64;
// The control task, at the end of a pass that ran its comparisons: the last ticket given when the pass
// began, and the parts that found everything taken up (bit i: part i). A part found so has played every
// change up to that ticket; the changes taken up are those every part has played.
void NotePartsTakenUp(uint64_t issuedAtPassStart, uint64_t partsTakenUp);

// The frequency step's view on each pass: whether the output follows a signal, which signal (mode and
// signal selection) and whether the reading taken is within the window it accepts.
void SyncReadingSeen(bool synchronised, uint32_t signal, bool inWindow);
// True while a newly chosen signal's first reading is awaited and the wait has not run out.
bool SyncReadingAwaited();

// The change of the ticket not yet taken up, or a signal's first reading awaited.
bool OutputWorkPending(uint64_t ticket);

// Back to the start: nothing pending (tests).
// Tests start each case from a clean state through it.
void OutputPendingReset();

}  // namespace core
