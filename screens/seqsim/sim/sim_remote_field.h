#pragma once
// A remote SIM set shows the field it wrote: the field cursor goes to that field's selection state of the
// phase written (phase -1: the field has one). Only while a SIMULATE selection state is current: a field
// being edited (the panel's editors write through the same setters), the memory lists, dialogs and other
// screens are left alone. Handed to SimSetEditStateHook at start-up.
#include "engine/sim/sim_clamp_setters.h"

void Sim_ShowRemoteField(SimClampField field, int phase);
