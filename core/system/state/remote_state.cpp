#include "core/system/state/remote_state.h"

std::atomic<uint32_t> g_RemoteState{0};
