#pragma once
// A new instrument root is a unit as the factory leaves it: its non-volatile memory holds block 0 with the
// model type (--model, default 1), brand 0, a serial number and the default power-on settings, the six
// settings blocks and the three preset backups at their defaults, and the configuration text; its internal
// store holds the default waves ARB1-ARB16.

// Before the power stage's bring-up: on the first start of a root (its simulated memory not yet made)
// writes the factory waves and asks the menu/control thread's start to write the memory. Model type 0
// leaves the memory erased, a unit without a model type. A root whose memory file is missing but which
// holds block 0's copy is no new unit: the loss is said on the console and nothing is provisioned. The
// brand web pictures missing on any root are drawn first. True when the root is new.
bool ProvisionNewUnit();
