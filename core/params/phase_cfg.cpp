#include "core/params/phase_cfg.h"

std::atomic<uint32_t> g_PhaseCfgChanging{0};
