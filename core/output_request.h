#pragma once
#include <cstdint>

// Nonzero while a power-on output request is still being carried out (front-panel keys wait).
uint32_t PowerOnOutputPending();
