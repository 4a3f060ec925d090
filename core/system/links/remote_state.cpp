#include "core/system/links/remote_state.h"

std::atomic<uint32_t> g_RemoteState{0};
