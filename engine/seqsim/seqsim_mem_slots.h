#pragma once
// The SEQ and SIM memory slots 0-9 as the memory keys, the remote objects and the SCPI memory commands
// use them: the file operations with the output configuration saved and restored around them.
#include <cstdint>

// Captures the output configuration into the data, then saves the file: the save's result.
int32_t SeqMem_Save(int32_t slot);
int32_t SimMem_Save(int32_t slot);
// Loads the file. A failure ends here (SEQ goes on with a memory whose values were limited, -202); mode 1
// restores the saved output configuration (SEQ: and clears the data-limited marker); with the ACV unit
// setting Vpp the data's unit becomes Vpp. The load result.
int32_t SeqMem_Recall(int32_t mode, int32_t slot);
int32_t SimMem_Recall(int32_t mode, int32_t slot);
// DeleteMemoryData of the slot; the clear-all pair clears 0 to 9 in order.
int32_t SeqMem_Clear(int32_t slot);
int32_t SimMem_Clear(int32_t slot);
void SeqMem_ClearAll();
void SimMem_ClearAll();
// Removes the internal file: the slot, or -1 for a slot outside 0-9.
int32_t SeqFileRemove(int32_t slot);
int32_t SimFileRemove(int32_t slot);
// The factory default of the whole instrument.
void FactoryDefaultExec();
