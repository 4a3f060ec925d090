#pragma once
// An open editor follows a setting changed elsewhere (a remote command, another panel): the GUI thread,
// which sees the change, posts the new value for the edit state it saw; the menu/control thread, which owns
// the edit words, puts it in the working value on its next pass if that edit state is still current.
#include <cstdint>

// GUI thread: the working value of editState is to become value (a later post replaces an earlier one).
void EditFollow_Post(uint32_t editState, int32_t value);
// Menu/control thread, once a pass: applies a posted value whose state is still the current menu state and
// drops it otherwise. 1 when the working value was set.
int EditFollow_Apply();
