#pragma once
// The key handlers of the SIMULATE edit states: each works on the value in the shared edit words and
// writes it into the current SIM state on the enter key (an L1 editor of a per-phase field writes all
// three phases), returns to the field's selection state, re-derives the states that follow the edited
// one and checks the written register. A triple's handler serves its three states (L1, L2, L3).
#include <cstdint>

void menuEditSimulationTime(uint32_t* ev);      // 490
void menuEditSimulationSyncCode(uint32_t* ev);  // 468
void menuEditSimulationEnRepeat(uint32_t* ev);  // 481
void menuEditSimulationRepeat(uint32_t* ev);    // 482
void menuEditSimulationWave(uint32_t* ev);      // 483
void menuEditSimulationEnOnpha(uint32_t* ev);   // 478-480
void menuEditSimulationEnOffpha(uint32_t* ev);  // 475-477
void menuSimEditBalance_L2(uint32_t* ev);       // 465
void menuSimEditBalance_L3(uint32_t* ev);       // 467
void menuEditSimulationACV(uint32_t* ev);       // 487-489
void menuEditSimulationFreq(uint32_t* ev);      // 484-486
void menuEditSimulationOnpha(uint32_t* ev);     // 472-474
void menuEditSimulationOffpha(uint32_t* ev);    // 469-471
