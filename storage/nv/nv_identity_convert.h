#pragma once
// Conversion between block 0 of the non-volatile memory and the running identity (model, brand, serial and
// MAC texts) and power-on settings.
#include <cstdint>

#include "storage/nv/nv_blocks.h"

// Direction 1 stores model id, brand id, serial and MAC texts into block 0's image, seals and stages it;
// direction 0 copies them from the image into the running identity, a model id of 12 or more and a brand
// id above 2 as 0.
void IdentityBlockSync(int direction);

// Checks the delete-all request of a loaded block 0: when byte 67 is non-zero, sets the reset-save bit
// (12) of g_SysStatus, deletes all stored data (DeleteMemoryData (4, 0)) and returns true, and the
// caller must not apply the power-on settings.
bool SpecialDataDeleteRequested(const IdentityBlock& block);

// Direction 1 stores the power-on settings in force into bytes 58-131 of the image, seals and stages it;
// direction 0 applies the image's bytes 58-131 to them (bytes 58-66, 68-74, 80-82, 86, 87, 89 and 91
// sign-extended), unless its delete-all request is set: then all stored data is deleted instead.
void SpecialDataSync(int direction);
