#pragma once
// Putting stored settings into effect: every output setting re-sent to the power stage, and the interface
// changes staged by remote commands applied to the interface settings.

// Re-sends every output setting of the three phases (start, run-time re-initialisation, calibration data
// restore).
void ApplyAllSettings();
// Applies the staged interface changes whose change bits are set, clears the staged record and saves the
// system configuration. Nothing without a change bit.
void ApplyPendingIfaceConfig();
