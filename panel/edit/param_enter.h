#pragma once
// Entering the edit state of a setting from the panel.
#include <cstdint>

// Makes the edit state of a setting current for the panel. Returns 0, or -1 when refused (keys locked or
// meter held and the id is not a measurement item).
int menuEnterParamState(uint32_t id);
