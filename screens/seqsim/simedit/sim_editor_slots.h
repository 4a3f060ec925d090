#pragma once
// The key-table slots of the SIMULATE edit states, memory lists and recall dialogs.

// Registers their handlers; 0, or -1 when the key table refused them (nothing registered then).
int SimEditors_RegisterKeys();
