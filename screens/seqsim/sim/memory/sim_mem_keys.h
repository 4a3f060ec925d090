#pragma once
// The SIMULATE memory lists (recall 493, save 492) and the two dialogs of a recall whose memory was made
// for another wiring (438 the change of wiring, 439 its confirmation).
#include <cstdint>

void menuSimulationRecallMemory(uint32_t* ev);
void menuSimulationSaveMemory(uint32_t* ev);
void menuSimulationOutputPhase(uint32_t* ev);
void menuSimulationOutputPhase_Check(uint32_t* ev);
