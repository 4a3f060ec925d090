#pragma once
// The power-on settings in bytes 58-131 of block 0 of the non-volatile memory: which byte holds which
// setting record, gathered from the settings or their defaults, stored into block 0's image and applied
// back. Apart from the identity conversion, because deleting all stored data packs the defaults here
// while loading block 0 can itself ask for that deletion.
#include "storage/nv/nv_blocks.h"

// The power-on fields of block 0 from the settings in force, or from the records' defaults. The
// interface bytes (RS232, GPIB, CAN card, USB word) have no record and always give what is in force.
IdentityBlock CollectPowerOn(bool defaults);
// Copies the power-on fields into block 0's image, seals and stages it (not written).
void StorePowerOn(const IdentityBlock& from);
// Sets the setting records and the interface configuration from the block's power-on fields (bytes
// 58-66, 68-74, 80-82, 86, 87, 89 and 91 sign-extended).
void ApplyPowerOn(IdentityBlock& b);

// Stores the default values of the power-on settings into bytes 58-131 of block 0's image with the
// delete-all request cleared, seals and stages it (not written).
void SpecialDataPack();
