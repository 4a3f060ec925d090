#include "scpi/set_command_handover.h"

std::atomic<const ScpiHandoverOps*> g_ScpiHandoverOps{nullptr};
