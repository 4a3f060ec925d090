#pragma once
// Every screen change the core, the SCPI handlers and the panel's other threads ask for: the panel's menu
// state and edit words belong to the menu/control thread, so a request is named here and that thread runs
// it. Asked on the menu/control thread itself (a set command is handed over to it, a key handler runs there)
// it runs at once, since what the caller does next, or the next command of the same message, relies on the
// screen having changed. Asked on another thread (the parallel link and calibration objects on the timer
// thread, a reset on the supervisor, the GUI thread's watch of the MENU page) it is posted, and the next
// menu/control pass runs it before its keys and set commands, as does a set command taken between passes.
// Posted requests keep their order; a kind posted again while it waits moves to the newest place with its
// newer arguments (the screen ends as the last request left it), so the queue holds one request of each
// kind at most and never refuses one.
#include <cstddef>
#include <cstdint>

enum class ScreenRequest : uint8_t {
    kAdvanceScreen,      // menuGoAdvenceScreen
    kSimpleScreen,       // menuGoSimpleScreen
    kParallelRetry,      // menuEnterParallelRetry
    kEnterState,         // menuEnterStateValue(state, value)
    kCalibrationPage,    // state 316-329, value a CaliPageEntry
    kGoCalibration,      // menuGoCalibration: the calibration list entered afresh, item 1 selected
    kSeqSimExit,         // Seq_Exit: leaves SEQ or SIM
    kSeqStepChanged,     // Seq_StepChangedHook(value): the remote selected a SEQUENCE step
    kArbitraryMode,      // menuEnterArbitraryMode: the waveform editor re-synced
    kSimSelectBuffers,   // Sim_SelectBuffers: the SIM state set of the range (after a recall)
    kSimEnterStep,       // Enter_menuSimulationStep: the SIMULATE field cursor on the state index
    kSeqSelectBuffers,   // Seq_SelectBuffers: the SEQ tables of the range, step 0, a preparation
    kSeqEnterStepIndex,  // Enter_menuSeqSetStepIndex: the SEQUENCE field cursor on the step index
    kSeqLeavePreview,    // Seq_LeavePreview: a SEQUENCE preview closed, back to the step index
    kEditFollow,         // EditFollow_Apply(state, value): an open editor follows a setting changed elsewhere
    kSeqEnter,           // Seq_EnterMode: the engine took SEQ mode, the SEQUENCE page shows it
    kSimEnter,           // Sim_EnterMode: the engine took SIM mode, the SIMULATE page shows it
    kSimShowField,       // Sim_ShowRemoteField(field, phase): the SIMULATE cursor on a field set remotely
    kCount               // the number of kinds: the queue's size
};
inline constexpr size_t kScreenRequestKinds = static_cast<size_t>(ScreenRequest::kCount);

// The value of a kCalibrationPage request.
enum CaliPageEntry : int32_t {
    kCaliPageEnter = 0,      // 316 the item list (Enter_menuCalibration), 317-329 that point's entry
    kCaliPageStateOnly = 1,  // only the menu state set, the editor left as it is
};

// The screen entries the requests run, one member per kind, handed over by the composition root before
// any thread runs. A request whose entry is not set does nothing and is not kept; a table names the
// entries it sets, the others stay unset.
struct ScreenRequestRunners {
    void (*advanceScreen)() = nullptr;
    void (*simpleScreen)() = nullptr;
    void (*parallelRetry)() = nullptr;
    int32_t (*enterStateValue)(uint32_t state, int32_t value) = nullptr;
    void (*calibrationPage)(uint32_t state, int32_t entry) = nullptr;
    void (*goCalibration)() = nullptr;
    void (*seqSimExit)() = nullptr;
    void (*seqStepChanged)(int32_t step) = nullptr;
    int32_t (*arbitraryMode)() = nullptr;
    int32_t (*simSelectBuffers)() = nullptr;
    void (*simEnterStep)() = nullptr;
    void (*seqSelectBuffers)() = nullptr;
    void (*seqEnterStepIndex)() = nullptr;
    void (*seqLeavePreview)() = nullptr;
    int (*editFollow)(uint32_t state, int32_t value) = nullptr;
    void (*seqEnter)() = nullptr;
    void (*simEnter)() = nullptr;
    void (*simShowField)(uint32_t field, int32_t phase) = nullptr;
};
void ScreenRequest_SetRunners(const ScreenRequestRunners& runners);

// Any thread: runs the request at once on the menu/control thread, posts it on any other. False when its
// entry is not set (nothing runs, now or later).
bool ScreenRequest_Ask(ScreenRequest what, uint32_t state = 0, int32_t value = 0);
// As ScreenRequest_Ask, for an event outside the panel's own work (the parallel link's retry prompt, its
// return home, its system page): while a calibration is in progress (CalibrationInProgress) the request
// waits, in its place, and runs at the first pass after the calibration has ended. Taken over the
// calibration page it would leave the calibration mode standing where nothing ends it.
bool ScreenRequest_AskOutsideCalibration(ScreenRequest what, uint32_t state = 0, int32_t value = 0);
// The calling thread becomes the menu/control thread: the requests asked on it run at once. That thread
// calls it first when it starts; until then every request waits for its passes.
void ScreenRequest_SetTaker();
// Menu/control thread, at the start of its pass and before a set command taken between passes: runs every
// request waiting, oldest first, but for those that wait for a calibration's end; the number run. A request
// posted meanwhile waits for the next call.
size_t ScreenRequest_RunPending();
