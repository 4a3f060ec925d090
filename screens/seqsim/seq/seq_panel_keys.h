#pragma once
// The keys every SEQUENCE state shares: the SEQ key of the home views that enters the function, the soft
// keys (run control, memory lists, previews, the switch to SIMULATE), the parameter shortcut keys, the
// function keys (MENU, SEQ, OUTPUT), and the way out of a preview for the remote handlers.
#include <cstdint>

// The SEQ key in a home view: refused with the output on, in an AUTO range or in an output mode above 2;
// otherwise the function chosen last (SIMULATE only in AC+DC-INT) is entered and the output-mode register
// written again, which sends the SEQ/SIM code while the function is active.
void KeyProcess_Sequence();
// In a preview state: back to the step index, then a 200 ms pause; elsewhere nothing.
void Seq_LeavePreview();
// Soft keys (class 3). During a run: branch 1, branch 2, hold/resume, stop. Otherwise: to SIMULATE (AC+DC
// only), the recall list, the save list (each toggles and closes the other), run, step preview, RUN
// preview.
void Seq_SoftKeys(uint32_t* ev);
// Parameter shortcut keys (class 2): the ones of settings SEQUENCE keeps per step are refused with
// "Invalid in This Sequence"; the rest do nothing.
void Seq_FilterShortcutKeys(uint32_t* ev);
// Function keys (class 5): MENU and SEQ leave the function unless the output is on (SEQ: or a run is in
// progress); the preset key is refused; OUTPUT toggles the output.
void Seq_FunctionKeys(uint32_t* ev);
// Call sites kept for the selection handlers: every event, an unused keypad key, a function key before it
// is handled. They do nothing.
void Seq_KeyHook(uint32_t* ev);
void Seq_KeypadHook(uint32_t* ev);
void Seq_FunctionKeyHook(uint32_t* ev);
// The memory lists, opened with the slot last chosen (the engine's SEQ recall or save slot) as value.
void Enter_menuSeqRecallMemory();
void Enter_menuSeqSaveMemory();
