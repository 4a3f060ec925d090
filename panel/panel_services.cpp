#include "panel/panel_services.h"

std::atomic<uint32_t> g_Up40ms{0};
