#pragma once
// An open editor follows a setting changed elsewhere (a remote command, another panel): the GUI thread,
// which sees the change, asks for it as a screen request (ScreenRequest::kEditFollow, with the edit state it
// saw and the new value; a later one replaces an earlier one still waiting); the menu/control thread, which
// owns the edit words, runs it on its next pass.
#include <cstdint>

// Menu/control thread, the request's runner: puts value in the working value if editState is still the
// current menu state, and drops it otherwise. 1 when the working value was set.
int EditFollow_Apply(uint32_t editState, int32_t value);
