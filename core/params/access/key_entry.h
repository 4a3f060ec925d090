#pragma once
// The keypad entry that every numeric field shares (kept in g_EditBuf).
#include <cstdint>

// Ends any keypad entry: typed integer 0, value 0.0, scale 1.0, state word 0, text cleared.
uint32_t menuResetEdit();
