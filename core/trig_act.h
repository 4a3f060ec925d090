#pragma once
// Trigger actions: an action prepared and armed by a remote controller, fired by a trigger.

// A completed pulse on trigger input 0 or 1: runs the armed action when its source is that input.
void TrigAct_Input(int input);
