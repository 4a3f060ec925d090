#pragma once
// The 120x120 phasor diagram of the three phases at (x, y) of the selected window. GUI thread only.

// Angles of L2 and L3 in degrees: L2 is drawn in 3P4W and 1P3W, L3 in 3P4W only.
void DrawPhasorDiagram(int x, int y, float angleL2, float angleL3);
