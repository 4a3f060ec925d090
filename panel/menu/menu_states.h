#pragma once
// The MENU page's states by name. They are named in core (core/system/state/menu_state_ids.h), where the
// core, engine and remote handlers reach them too; the panel's files keep including this header.
#include "core/system/state/menu_state_ids.h"
