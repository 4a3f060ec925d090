#pragma once
// Deleting one SEQ or SIM memory: its file removed, the working tables set to the memory's defaults and
// saved as the memory's new file. Handed to DeleteMemoryData at start-up. The save's result.
#include <cstdint>

int32_t SeqMem_DeleteItem(int32_t slot);
int32_t SimMem_DeleteItem(int32_t slot);
