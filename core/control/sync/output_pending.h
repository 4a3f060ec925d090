#pragma once
// What the output has yet to take up after a remote command, beside the system's busy test: the
// operations *OPC?, *OPC and *WAI wait for.
//
// - A set command's change is pending until the control task's next pass that finds nothing left to
//   take up: before it, the stage may still hold the old value.
// - A synchronised output (ACDC-SYNC, AC-SYNC) that has just been given its signal (the mode entered, the
//   signal selection changed) waits for the frequency meter's first reading of it, at most
//   kSyncReadingWaitMs: until then an output-on would be refused for a missing signal that is there.
#include <atomic>
#include <cstdint>

namespace core {

// Counts the control task's passes that found nothing left to take up (a settled output with every
// setting synchronised, no waveform download under way, or a SEQ/SIM function in use, whose runner owns
// the output); counted at the end of the pass. A change made before such a pass has been carried out,
// with whatever the pass rewrote in answer to it.
extern std::atomic<uint32_t> g_CtrlQuietPasses;

// The longest the first reading of a newly chosen synchronisation signal is waited for. The meter takes
// a few periods of its lowest frequency (10 Hz); a signal that is not there is not waited for longer.
inline constexpr uint64_t kSyncReadingWaitMs = 1000;

// A set command has run on the menu/control thread (the thread that also runs the control task).
void NoteSettingsChange();
// True from NoteSettingsChange until the control task's next quiet pass; never in calibration mode, where
// the task does not run.
bool SettingsChangePending();

// The frequency step's view on each pass: whether the output follows a signal, which signal (mode and
// signal selection) and whether the reading taken is within the window it accepts.
void SyncReadingSeen(bool synchronised, uint32_t signal, bool inWindow);
// True while a newly chosen signal's first reading is awaited and the wait has not run out.
bool SyncReadingAwaited();

// Either of the above.
bool OutputWorkPending();

// Back to the start: nothing pending (tests).
// Tests start each case from a clean state through it.
void OutputPendingReset();

}  // namespace core
