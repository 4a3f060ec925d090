#pragma once
// Deleting stored SEQ, SIM, preset and ARB memories.
#include <cstdint>

// Kind 4 with number 0 is "all stored data". A positive value on success, 0 when refused. Deleting is
// not built yet: every request is refused and counted, so that no caller mistakes it for done.
int32_t DeleteMemoryData(int32_t kind, int32_t number);

struct MemoryDeleteRequest {
    uint32_t count;        // requests since the last reset
    int32_t kind, number;  // the last one
};
MemoryDeleteRequest MemoryDeleteLastRequest();
void MemoryDeleteReset();
