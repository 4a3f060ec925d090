#pragma once
// The SIM0-SIM9 memories as the SIMULATE panel uses them: recall and save of the slot chosen in the
// lists, the choice of the state set by voltage range, and the memory loaded at start-up.
#include <cstdint>

// The user range (0 100V, 1 200V, 2 AUTO); the L1-L3 copies of the engine point at the 100V set in the
// 100V range, at the 200V set otherwise.
int32_t Sim_SelectBuffers();
// While the recall page is open: loads the recall slot's memory with its output configuration. Done, or
// loaded with its values limited: the state set of the range is chosen and a preparation asked for; done
// also makes it the memory in use. The page is closed, the outcome shown and the recall notice raised.
void Sim_RecallSlot();
// While the save page is open: saves the tables with the output configuration as the save slot's memory,
// which on success becomes the memory in use. The page is closed, the outcome shown and the save notice
// raised.
void Sim_SaveSlot();
// Start-up: memory n without its output configuration, or the default states when it does not load.
void Sim_LoadLastOrDefault(uint16_t memory);
