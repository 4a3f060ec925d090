#pragma once
// Recalling the preset the panel has selected for recall.

// Loads the preset of the home page's recall index into the settings, marks a preset as recalled for
// the status bar, returns to the last home view and asks the screens to redraw the settings.
void menuApplyRecalledPreset();
