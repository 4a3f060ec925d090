#pragma once
// The confirmation dialog shown before the output's wiring changes, painted into the selected window over
// the background its caller cleared.
// GUI thread only.

// Wiring index 0-7: 3P4W, 1P2W, 1P3W, L1 LINE, L2 LINE, L3 LINE, EXT, L1 Ext; any other index shows no
// name.
void WarningDialog_Paint(int wiring);
