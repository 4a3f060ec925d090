#pragma once
// The key handlers of the SIMULATE selection states: the field cursor moved by the knob, the SIM state
// changed by the cursor keys, a field's editor opened by the enter key; and the state index's own
// selection state and editor.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"
#include "panel/menu/key_handler.h"

// The soft, shortcut and function keys every selection state shares; false for another class.
bool SimCommonKeys(uint32_t* ev);
// The cursor keys (state change) and the knob (field cursor by the knob table) of a selection state.
void SimCursorKeys(uint32_t state, uint32_t* ev);
// The selection handler of a field's state (every selection state but the state index).
void SimSelectKeys(uint32_t state, uint32_t* ev);
template <uint32_t State>
void SimSelectHandler(uint32_t* ev) {
    SimSelectKeys(State, ev);
}

inline constexpr KeyHandler menuSimulationSyncCode = SimSelectHandler<kSimSelSyncCode>;
inline constexpr KeyHandler menuSimulationOffpha = SimSelectHandler<kSimSelOffpha>;
inline constexpr KeyHandler menuSimulationOffpha_L2 = SimSelectHandler<kSimSelOffpha + 1>;
inline constexpr KeyHandler menuSimulationOffpha_L3 = SimSelectHandler<kSimSelOffpha + 2>;
inline constexpr KeyHandler menuSimulationOnpha = SimSelectHandler<kSimSelOnpha>;
inline constexpr KeyHandler menuSimulationOnpha_L2 = SimSelectHandler<kSimSelOnpha + 1>;
inline constexpr KeyHandler menuSimulationOnpha_L3 = SimSelectHandler<kSimSelOnpha + 2>;
inline constexpr KeyHandler menuSimulationEnOffpha = SimSelectHandler<kSimSelEnOffpha>;
inline constexpr KeyHandler menuSimulationEnOffpha_L2 = SimSelectHandler<kSimSelEnOffpha + 1>;
inline constexpr KeyHandler menuSimulationEnOffpha_L3 = SimSelectHandler<kSimSelEnOffpha + 2>;
inline constexpr KeyHandler menuSimulationEnOnpha = SimSelectHandler<kSimSelEnOnpha>;
inline constexpr KeyHandler menuSimulationEnOnpha_L2 = SimSelectHandler<kSimSelEnOnpha + 1>;
inline constexpr KeyHandler menuSimulationEnOnpha_L3 = SimSelectHandler<kSimSelEnOnpha + 2>;
inline constexpr KeyHandler menuSimulationEnRepeat = SimSelectHandler<kSimSelEnRepeat>;
inline constexpr KeyHandler menuSimulationRepeat = SimSelectHandler<kSimSelRepeat>;
inline constexpr KeyHandler menuSimulationWave = SimSelectHandler<kSimSelWave>;
inline constexpr KeyHandler menuSimulationFreq = SimSelectHandler<kSimSelFreq>;
inline constexpr KeyHandler menuSimulationFreq_L2 = SimSelectHandler<kSimSelFreq + 1>;
inline constexpr KeyHandler menuSimulationFreq_L3 = SimSelectHandler<kSimSelFreq + 2>;
inline constexpr KeyHandler menuSimulationAcv = SimSelectHandler<kSimSelAcv>;
inline constexpr KeyHandler menuSimulationAcv_L2 = SimSelectHandler<kSimSelAcv + 1>;
inline constexpr KeyHandler menuSimulationAcv_L3 = SimSelectHandler<kSimSelAcv + 2>;
inline constexpr KeyHandler menuSimulationTime = SimSelectHandler<kSimSelTime>;
inline constexpr KeyHandler menuSimBalance_L2 = SimSelectHandler<kSimSelBalanceL2>;
inline constexpr KeyHandler menuSimBalance_L3 = SimSelectHandler<kSimSelBalanceL3>;

// State 463: while the preparation is asked for, every key only shows the held preparation popup; during
// a run the keypad, cursor keys and knob are ignored.
void menuSimulationStep(uint32_t* ev);
// State 491: the knob shows the new state at once, the enter key selects it on the power stage, the exit
// and SEQ keys put back the state shown before editing (or only cancel a typed number).
void menuEditSimulationStep(uint32_t* ev);
// The cursor keys 'V' (previous) and 'W' (next state), clamped to Initial..Normal2; the field cursor goes
// home when its field is not shown in the new state.
void Sim_StepKeys(uint8_t code);
