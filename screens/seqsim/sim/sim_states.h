#pragma once
// The menu states of the SIMULATE screen, named with the other states in core.
#include "core/system/state/menu_state_ids.h"
