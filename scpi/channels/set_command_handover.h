#pragma once
// The set-command hand-over between a channel and the menu/control thread: a channel sends a type-10
// message whose payload carries its interface and a tag (the command's ticket and the channel id); the
// menu/control thread runs the command's handler with it and, once the command is done, sends the
// completion message under 100 + the channel id with the tag and a result (0 done, else failed).
//
// Beside the queue each channel has a hand-over word: the ticket of its command and how far the
// menu/control thread has got with it. The channel publishes it with release before the message goes
// out, the menu/control thread claims it with acquire before the handler runs and marks it run with
// release after; so the context's contents are ordered for the board's weakly ordered cores and for
// ThreadSanitizer, which knows nothing of the queue. A channel that has waited kScpiHandoverWaitMs
// gives the command up: a command not yet claimed is withdrawn and never runs, and a late completion
// of a command given up is discarded.
//
// Neither side polls the queue for the other: a hand-over wakes the menu/control thread from its wait
// for the next pass, and a completion wakes the channel that waits for it.
#include <atomic>
#include <cstdint>

struct ScpiInterface;
struct SysMsg;

struct ScpiHandoverOps {
    // Runs the handler of the interface's command id (command set g_ScpiCmdSetSel). Returns 0 when the
    // command is done, 1 when it completes later (once the system reports ready), 2 when it completes
    // after the control task's next pass.
    int32_t (*run)(ScpiInterface* ifc);
};
enum : int32_t { kScpiRunDone = 0, kScpiRunLater = 1, kScpiRunAfterPass = 2 };

// Called by a set handler whose setting the control task's next pass takes up and answers by rewriting
// other settings (the phase balance mode puts the phases back to their start values): the command then
// completes after that pass, so the channel's next command cannot land in between and be overwritten.
// A command taken between passes would otherwise complete before the pass runs.
void ScpiHandoverCompleteAfterPass();
// Called by a set handler whose effect the control task carries out later (the output switch): when
// the command completes, check() tells whether it took effect; when not, the command fails with
// kScpiResultNoEffect instead of reporting a success that did not happen.
void ScpiHandoverCheckAtCompletion(bool (*check)());
// The check the handler just run asked for (null: none); the menu/control thread takes it after run.
using ScpiHandoverCheck = bool (*)();
ScpiHandoverCheck ScpiHandoverTakeCheck();
// Whether the command just run may change what the stage plays (a set command of the channel's own
// status registers does not); the menu/control thread takes it after run, as true unless the handler
// run said otherwise.
bool ScpiHandoverTakeOutputChange();
// The menu/control thread gives the command of the tag the ticket of its change (core::NoteSettingsChange)
// before the command completes; the channel's *OPC?, *OPC and *WAI wait until the output has taken up
// its last one (0: none yet), read from any thread.
void ScpiHandoverNoteChange(uint32_t tag, uint64_t ticket);
uint64_t ScpiHandoverLastChange(uint32_t channelId);
// No command handed over and no change waited for on any channel. Tests start each case from a clean
// state through it.
void ScpiHandoverReset();
// Completion results: done, failed (could not run, given up), ran but did not take effect.
enum : uint32_t { kScpiResultDone = 0, kScpiResultFailed = 1, kScpiResultNoEffect = 2 };

// The channel context's operations (a test may replace them); while null a handed-over command
// cannot run and completes as failed.
extern std::atomic<const ScpiHandoverOps*> g_ScpiHandoverOps;

// Longest a channel waits for the completion of its command before it gives the command up.
constexpr uint32_t kScpiHandoverWaitMs = 10000;

// Channel side. Hands the command in ifc to the menu/control thread: 0, or -1 when the queue did not
// take it (the caller tries again).
int ScpiHandoverPost(ScpiInterface* ifc, uint32_t channelId);
// 1 and the command's result when its completion has arrived; 0 while it is with the menu/control
// thread; -1 (result: failed) once it has been given up after kScpiHandoverWaitMs.
int ScpiHandoverPoll(uint32_t channelId, uint32_t* result);
// Waits until a completion is sent to the channel or waitMs pass (instrument clock); then poll.
void ScpiHandoverWaitCompletion(uint32_t channelId, uint32_t waitMs);

// Menu/control thread side. Waits until a channel hands a command over (true) or the instrument clock
// reads deadlineUs (false).
bool ScpiHandoverWaitPosted(uint64_t deadlineUs);
// Claims the command of a received type-10 message: false when its channel
// has given it up (nobody waits for it; it must not run).
bool ScpiHandoverClaim(const SysMsg& msg);
// The handler of the claimed command (tag msg.word1) has returned: the context is the channel's again.
void ScpiHandoverRan(uint32_t tag);
// Sends the completion of the command with this tag: 0, or -1 when the queue did not take it.
int ScpiHandoverComplete(uint32_t tag, uint32_t result);
