#pragma once
// The key handlers of the waveform builder's editor (states 495-544): one for the edit states, where a
// value is changed, and one for the view states, where a row is selected.
#include <cstdint>

void KeyProcess_ArbEdit(uint32_t* ev);
void KeyProcess_ArbView(uint32_t* ev);

// The DIP presets: 0.1/89.9/90.0 and 270.0/359.8/359.9 degrees, set in an order that keeps
// start < sweep < end at every step (the builder refuses a write that breaks it); then a rebuild and a
// new preview.
void ArbDIPSetPreset1();
void ArbDIPSetPreset2();

// Hands the editor's handlers to the key table. Returns 0, or -1 when the table refused them.
int ArbEdit_RegisterKeys();
