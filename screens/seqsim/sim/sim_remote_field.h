#pragma once
// A remote SIM set shows the field it wrote: the field cursor goes to that field's selection state of the
// phase written (phase -1: the field has one). Only while a SIMULATE selection state is current: a field
// being edited (the panel's editors write through the same setters), the memory lists, dialogs and other
// screens are left alone. The entry of the screen request kSimShowField; field is a SimClampField.
#include <cstdint>

void Sim_ShowRemoteField(uint32_t field, int32_t phase);
