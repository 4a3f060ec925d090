#pragma once
// A line the barcode scanner completed: taught as a code in the barcode teach states, otherwise matched
// and its action run (recall preset M0-M9, output on, output off).

// One step of the menu/control thread. The key thread only collects the scanned characters: the action
// changes the settings, which only this thread writes between the control task's passes.
void ScannedLineStep();
