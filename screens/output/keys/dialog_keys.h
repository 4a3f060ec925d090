#pragma once
// Key handlers of the home views' small prompts: the wiring choice and its confirmation (states 3, 4),
// a preset recall that brings another wiring (5, 6), the parallel link failure (7), and the measurement
// items of the meter rows (38-44).
#include <cstdint>

void KeyProcess_Switch_OutputPhase(uint32_t* ev);
void KeyProcess_Switch_OutputPhaseCheck(uint32_t* ev);
void KeyProcess_Preset_OutputPhase(uint32_t* ev);
void KeyProcess_Switch_PresetOutputPhaseCheck(uint32_t* ev);
void KeyProcess_Parallel_Retry(uint32_t* ev);
// One handler for the seven items; the current state names the item.
void Keyprocess_MeasItem1(uint32_t* ev);
inline constexpr auto Keyprocess_MeasItem2 = Keyprocess_MeasItem1;
inline constexpr auto Keyprocess_MeasItem3 = Keyprocess_MeasItem1;
inline constexpr auto Keyprocess_MeasItem4 = Keyprocess_MeasItem1;
inline constexpr auto Keyprocess_MeasItem5 = Keyprocess_MeasItem1;
inline constexpr auto Keyprocess_MeasItem6 = Keyprocess_MeasItem1;
inline constexpr auto Keyprocess_MeasItem7 = Keyprocess_MeasItem1;

namespace screens {
// Yes/No choice word of a two-button prompt moved by one key: 'W' No (1), 'V' Yes (0), the knob steps
// it within 0-1. False when the event is none of them.
bool DialogChoiceKey(uint32_t ev, uint32_t* choice);
}  // namespace screens
