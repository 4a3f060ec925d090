#pragma once
// Screen copies to the USB memory stick.
#include <cstdint>

// The screen-copy key (SHIFT then COPY, or a long MENU press): refuses without a usable stick, else
// requests a copy.
void Hardcopy_KeyRequest();
