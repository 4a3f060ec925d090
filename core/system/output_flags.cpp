#include "core/system/output_flags.h"

std::atomic<uint32_t> g_OutputFlags{0};
