#pragma once
// The factory's brand (state 226) and model (state 228) editors of the model/brand list.
#include <cstdint>

// Knob over the three brands; enter rewrites the brand file, the web images and the boot logo.
void KeyProcess_8623_FirmEdit(uint32_t* ev);
// Four digits; enter takes the model whose code matches, resets the unit to its defaults and reboots.
void KeyProcess_8623_ModelEdit(uint32_t* ev);
