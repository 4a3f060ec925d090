#include "core/system/state/fw_update_state.h"

std::atomic<uint32_t> c2000Checked{0};
