#pragma once
// The panel and calibration-page entries that the calibration objects and the SCPI set commands start in
// the layers above them. Every caller runs on the menu/control thread (a set command is handed over to it),
// and what it does next, or the next command of the same message, relies on the entry having run: they
// are called at once. Other threads post a request instead (core/control/hooks/screen_request.h). The
// composition root hands the functions over before any thread runs; a hook that is not set does nothing.
#include <cstdint>

#include "core/control/hooks/call_hook.h"

struct CoreUiHooks {
    void (*advanceScreen)();                                 // menuGoAdvenceScreen
    void (*simpleScreen)();                                  // menuGoSimpleScreen
    void (*caliEnterStep)(uint32_t state);                   // entry of a calibration point page
    void (*enterCalibration)();                              // Enter_menuCalibration
    void (*seqSimExit)();                                    // Seq_Exit: leaves SEQ or SIM
    void (*seqStepChanged)(int32_t step);                    // Seq_StepChangedHook
    int32_t (*arbitraryMode)();                              // menuEnterArbitraryMode
    void (*goCalibration)();  // menuGoCalibration: the calibration list entered afresh, item 1 selected
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
}  // namespace core
