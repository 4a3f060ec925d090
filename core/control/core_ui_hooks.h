#pragma once
// What the alarm, calibration and parallel objects start in the layers above the core: the speaker, the
// settings backup of storage and the menu states of the panel and the calibration pages. The composition
// root hands the functions over before any thread runs; a hook that is not set does nothing.
#include <cstdint>

struct CoreUiHooks {
    void (*beepOn)();         // alarm tone on
    void (*beepOff)();        // alarm tone off
    void (*beepRequest)();    // one key beep
    void (*beepService)();    // one step of the beep service, for loops that block the timer thread
    void (*backupSave)();     // every setting to the non-volatile memory (the alarm's backup request)
    // The six settings blocks re-based on the parallel (1) or stand-alone (0) limits of the model.
    void (*backupRebase)(int parallel);
    void (*advanceScreen)();  // menuGoAdvenceScreen
    void (*simpleScreen)();   // menuGoSimpleScreen
    int32_t (*enterStateValue)(uint32_t state, int32_t value);  // menuEnterStateValue
    void (*parallelRetry)();                                 // menuEnterParallelRetry
    void (*caliEnterStep)(uint32_t state);                   // entry of a calibration point page
    void (*enterCalibration)();                              // Enter_menuCalibration
    void (*initRuntimeState)();                              // InitRuntimeStateForReset (timer thread)
    void (*seqSimExit)();                                    // Seq_Exit: leaves SEQ or SIM
    void (*seqStepChanged)(int32_t step);                    // Seq_StepChangedHook
    int32_t (*arbitraryMode)();                              // menuEnterArbitraryMode
    void (*goCalibration)();  // menuGoCalibration: the calibration list entered afresh, item 1 selected
    // A parallel slave's service job its master sent (items 15-19 with their value): ServiceSlaveItem.
    void (*serviceItem)(uint32_t item, uint32_t value);
    int32_t (*simSelectBuffers)();  // Sim_SelectBuffers: the SIM state set of the range (after a recall)
    void (*simEnterStep)();         // Enter_menuSimulationStep: the SIMULATE field cursor on the state index
    void (*seqSelectBuffers)();     // Seq_SelectBuffers: the SEQ tables of the range, step 0, a preparation
    void (*seqEnterStepIndex)();    // Enter_menuSeqSetStepIndex: the SEQUENCE field cursor on the step index
    void (*seqLeavePreview)();      // Seq_LeavePreview: a SEQUENCE preview closed, back to the step index
};

void CoreUi_SetHooks(const CoreUiHooks& hooks);

namespace core {
// The hooks in effect (every member may be null).
const CoreUiHooks& CoreUi();
// Calls a hook when it is set.
template <typename Fn, typename... Args>
void CallHook(Fn fn, Args... args) {
    if (fn != nullptr) fn(args...);
}
}  // namespace core
