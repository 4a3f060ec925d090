#pragma once
// The service password entry (state 224): until it is built, exit goes back to Special Function and the
// function keys act as in every menu state; no code is taken.
#include <cstdint>

void KeyProcess_Password(uint32_t* ev);
