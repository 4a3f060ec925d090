#pragma once
// The key handlers of the MENU page's states, handed to the key-handler table at start.

// Registers the list rows, the list owners without a row, the MISC editors and the password stand-in.
// Returns 0, or -1 when the table refused them.
int MenuNav_RegisterKeys();
