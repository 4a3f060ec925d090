#include "core/params/waves/arb_mem.h"

int16_t g_ArbMem[kArbSlots][kArbSamples];
