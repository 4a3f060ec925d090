#pragma once
// A new instrument root is a unit as the factory leaves it: block 0 of its non-volatile memory holds the
// model type (--model, default 1), brand 0, a serial number and the default power-on settings.

// Before the threads start: on the first start of a root (its simulated memory not yet made) asks the
// menu/control thread's start to write that block. Model type 0 leaves the memory erased, a unit without
// a model type. True when the root is new.
bool ProvisionNewUnit();
