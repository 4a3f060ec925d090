#pragma once
#include <cstdint>

// The control task: once per pass of the menu/control thread's periodic services.
int32_t CtrlTask_Poll();
